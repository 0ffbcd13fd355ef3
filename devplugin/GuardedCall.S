/* The guarded call into a plug-in, and the way back to it after a fault.
   32-bit x86 only: the guard is a structured-exception frame registered on
   the stack (fs:[0]), as Windows' own compilers build for __try. */
        .intel_syntax noprefix
        .text

/* Words of slack for a callee that takes more arguments than it is given. */
        .set    SLACK_WORDS, 32

/* Layout of the frame (GuardFrame in PluginGuard.cpp):
     0  next record of the chain
     4  handler (_DevPluginGuardHandler)
     8  the caller's ebp
    12  where to resume after a fault
    16  the x87 control word at entry
    20  the answer after a fault: 0, or 2 for a stack overflow */

/* int DevPluginGuardedCall(const void* fn, const DWORD* args, int count, DWORD* result)
   Calls fn (__stdcall) with count 32-bit words; 1 with eax in *result when it
   returned, 0 when it raised, 2 when it overflowed the stack. */
        .globl  _DevPluginGuardedCall
        .def    _DevPluginGuardedCall; .scl 2; .type 32; .endef
_DevPluginGuardedCall:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        sub     esp, 24
        mov     eax, fs:[0]
        mov     [esp], eax
        mov     dword ptr [esp+4], offset _DevPluginGuardHandler
        mov     [esp+8], ebp
        mov     dword ptr [esp+12], offset resume
        fnstcw  [esp+16]
        mov     dword ptr [esp+20], 0
        mov     fs:[0], esp

        /* Zeroed words between the frame and the arguments: a callee that
           takes more arguments than it is given reads zeros there, and writes
           there instead of into the frame (as unoptimised code writes its
           parameters). */
        mov     ecx, SLACK_WORDS
5:      push    0
        dec     ecx
        jnz     5b

        mov     ecx, [ebp+16]
        mov     esi, [ebp+12]
        jmp     2f
1:      push    dword ptr [esi+ecx*4]
2:      dec     ecx
        jns     1b
        call    dword ptr [ebp+8]

        /* Back from the plug-in, whose esp and ebp are not trusted: a wrong
           argument count leaves esp off. The innermost frame with our handler
           is ours, so the chain leads back to it. */
        mov     ecx, fs:[0]
3:      cmp     dword ptr [ecx+4], offset _DevPluginGuardHandler
        je      4f
        mov     ecx, [ecx]
        jmp     3b
4:      mov     esp, ecx
        mov     ebp, [esp+8]
        mov     ecx, [ebp+20]
        mov     [ecx], eax
        mov     eax, 1
        jmp     done

        /* Entered from DevPluginGuardResume with esp at the frame and ebp
           restored; the x87 unit may hold what the faulting code left. */
resume:
        fninit
        fldcw   [esp+16]
        mov     eax, [esp+20]
done:
        mov     ecx, [esp]
        mov     fs:[0], ecx
        cld
        lea     esp, [ebp-12]
        pop     edi
        pop     esi
        pop     ebx
        pop     ebp
        ret

/* void DevPluginGuardResume(GuardFrame* frame): continues at the frame's
   resume point, leaving everything below the frame. Does not return. */
        .globl  _DevPluginGuardResume
        .def    _DevPluginGuardResume; .scl 2; .type 32; .endef
_DevPluginGuardResume:
        mov     eax, [esp+4]
        mov     esp, eax
        mov     ebp, [eax+8]
        jmp     dword ptr [eax+12]

/* void* DevPluginExceptionChain(void): the head of this thread's chain. */
        .globl  _DevPluginExceptionChain
        .def    _DevPluginExceptionChain; .scl 2; .type 32; .endef
_DevPluginExceptionChain:
        mov     eax, fs:[0]
        ret
