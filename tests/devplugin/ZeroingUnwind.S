/* ZeroingRtlUnwind: RtlUnwind as 32-bit Windows returns from it. Windows
   captures the caller's context with EAX to EDI zeroed, unwinds, and
   continues through that context (at TargetIp when one is given, else at the
   return address) with the arguments popped, ESP and EBP kept, EAX set to
   ReturnValue and the other registers zero. Wine returns with the registers
   as they were, which hides code that keeps something in a register across
   the call. */
        .intel_syntax noprefix
        .data
/* How often it ran. */
        .globl  _g_nZeroingUnwinds
_g_nZeroingUnwinds:
        .long   0

        .text
        .globl  _ZeroingRtlUnwind@16
        .def    _ZeroingRtlUnwind@16; .scl 2; .type 32; .endef
_ZeroingRtlUnwind@16:
        lock inc dword ptr [_g_nZeroingUnwinds]
        push    dword ptr [esp+16]      /* ReturnValue */
        push    dword ptr [esp+16]      /* ExceptionRecord */
        push    dword ptr [esp+16]      /* TargetIp */
        push    dword ptr [esp+16]      /* TargetFrame */
        call    dword ptr [__imp__RtlUnwind@16]
        mov     eax, [esp+8]            /* TargetIp */
        test    eax, eax
        jz      1f
        mov     [esp], eax
1:      mov     eax, [esp+16]           /* ReturnValue */
        xor     ebx, ebx
        xor     ecx, ecx
        xor     edx, edx
        xor     esi, esi
        xor     edi, edi
        ret     16
