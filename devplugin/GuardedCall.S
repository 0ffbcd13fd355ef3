/* The guarded call into a plug-in, and the way back to it after a fault.
   32-bit x86 only: the guard is a structured-exception frame registered on
   the stack (fs:[0]), as Windows' own compilers build for __try.

   Nothing the way back needs lives in a register: Windows' RtlUnwind returns
   with EAX to EDI zeroed, and the code that faulted leaves registers as it
   likes. It is read from the frame, whose address the unwinding keeps on the
   stack. */
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
    20  the answer after a fault: 0, or 2 for a stack overflow
    24  MXCSR at entry, when the processor has one */

/* int DevPluginGuardedCall(const void* fn, const DWORD* args, int count, DWORD* result, int sse)
   Calls fn (__stdcall) with count 32-bit words; 1 with eax in *result when it
   returned, 0 when it raised, 2 when it overflowed the stack. The x87 control
   word, and MXCSR when sse is not 0, are as at entry whichever way it ends. */
        .globl  _DevPluginGuardedCall
        .def    _DevPluginGuardedCall; .scl 2; .type 32; .endef
_DevPluginGuardedCall:
        push    ebp
        mov     ebp, esp
        push    ebx
        push    esi
        push    edi
        sub     esp, 28
        mov     eax, fs:[0]
        mov     [esp], eax
        mov     dword ptr [esp+4], offset _DevPluginGuardHandler
        mov     [esp+8], ebp
        mov     dword ptr [esp+12], offset resume
        fnstcw  [esp+16]
        mov     dword ptr [esp+20], 0
        cmp     dword ptr [ebp+24], 0
        je      6f
        stmxcsr [esp+24]
6:      mov     fs:[0], esp

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
        mov     eax, [esp+20]
done:
        fldcw   [esp+16]
        cmp     dword ptr [ebp+24], 0
        je      7f
        ldmxcsr [esp+24]
7:      mov     ecx, [esp]
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
resumeframe:
        mov     esp, eax
        mov     ebp, [eax+8]
        jmp     dword ptr [eax+12]

/* void DevPluginGuardUnwind(GuardFrame* frame, EXCEPTION_RECORD* record):
   runs the handlers of every frame below the guard's as unwinding (their
   destructors and __finally blocks), then resumes at the frame. Does not
   return. The frame's address waits on the stack across RtlUnwind, which
   continues at TargetIp, or returns, with esp past its arguments. */
        .globl  _DevPluginGuardUnwind
        .def    _DevPluginGuardUnwind; .scl 2; .type 32; .endef
_DevPluginGuardUnwind:
        mov     eax, [esp+4]
        mov     ecx, [esp+8]
        push    eax
        push    0                       /* ReturnValue */
        push    ecx                     /* ExceptionRecord */
        push    offset 8f               /* TargetIp */
        push    eax                     /* TargetFrame */
        call    dword ptr [_g_pfnDevPluginRtlUnwind]
8:      pop     eax
        jmp     resumeframe

/* void* DevPluginExceptionChain(void): the head of this thread's chain. */
        .globl  _DevPluginExceptionChain
        .def    _DevPluginExceptionChain; .scl 2; .type 32; .endef
_DevPluginExceptionChain:
        mov     eax, fs:[0]
        ret
