/* A structured-exception frame around one call into the status library.
 * C, not C++: the frame must be the only exception handler of its function,
 * and a C function gets none from the compiler. Exceptions of the vendor's
 * compiler (0xE06D7363) and of ours (0x20474343) are caught; anything else,
 * an access violation say, goes on to the system as before. */
#include <windows.h>

#define MSVC_CPP_EXCEPTION 0xE06D7363UL
#define GCC_CPP_EXCEPTION 0x20474343UL

typedef int(WINAPI* close_fn)(void*);

static int is_cpp_exception(DWORD code) {
  return code == MSVC_CPP_EXCEPTION || code == GCC_CPP_EXCEPTION;
}

#if defined(__x86_64__)

#include <excpt.h>

/* Called by the system's __C_specific_handler while it looks for a handler. */
__attribute__((used)) static LONG WINAPI somv_close_filter(EXCEPTION_POINTERS* pointers) {
  return is_cpp_exception(pointers->ExceptionRecord->ExceptionCode) ? EXCEPTION_EXECUTE_HANDLER
                                                                     : EXCEPTION_CONTINUE_SEARCH;
}

__attribute__((noinline)) int somv_call_close_guarded(void* close, void* device, int* raised) {
  /* Unwinding to the end of the frame skips the store below, so the value
   * that stays in memory says whether the call returned. */
  volatile int returned = 0;
  volatile int result = 0;
  __asm__ __volatile__("" ::: "memory");
  __try1(somv_close_filter)
  result = ((close_fn)close)(device);
  returned = 1;
  __except1
  __asm__ __volatile__("" ::: "memory");
  *raised = !returned;
  return returned ? result : 0;
}

#elif defined(__i386__)

typedef struct guard_frame {
  /* First, so that the handler's frame pointer is the whole record. */
  EXCEPTION_REGISTRATION_RECORD registration;
  CONTEXT resume;
  volatile LONG raised;
} guard_frame;

static EXCEPTION_REGISTRATION_RECORD* read_chain(void) {
  EXCEPTION_REGISTRATION_RECORD* head;
  __asm__ __volatile__("movl %%fs:0, %0" : "=r"(head));
  return head;
}

static void write_chain(EXCEPTION_REGISTRATION_RECORD* head) {
  __asm__ __volatile__("movl %0, %%fs:0" : : "r"(head) : "memory");
}

/* Runs the unwind handlers of the library's frames above ours and leaves
 * ours at the head of the chain, as compilers' own __except does. */
static void unwind_to(void* frame, EXCEPTION_RECORD* record) {
  __asm__ __volatile__(
      "pushl $0\n\t"
      "pushl %1\n\t"
      "pushl $1f\n\t"
      "pushl %0\n\t"
      "call _RtlUnwind@16\n"
      "1:"
      :
      : "r"(frame), "r"(record)
      : "eax", "ecx", "edx", "memory");
}

typedef LONG(NTAPI* nt_continue_fn)(CONTEXT*, BOOLEAN);

/* C++ exceptions are raised non-continuable, so the handler may not return
 * to the dispatcher to resume: like a compiler's __except it moves to the
 * resume point itself. */
static EXCEPTION_DISPOSITION __cdecl guard_handler(EXCEPTION_RECORD* record, void* establisher,
                                                   CONTEXT* context, void* dispatcher) {
  guard_frame* frame = (guard_frame*)establisher;
  nt_continue_fn nt_continue =
      (nt_continue_fn)(void*)GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtContinue");
  (void)context;
  (void)dispatcher;
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  if (!is_cpp_exception(record->ExceptionCode) || nt_continue == NULL) return ExceptionContinueSearch;
  unwind_to(establisher, record);
  frame->raised = 1;
  nt_continue(&frame->resume, FALSE);
  return ExceptionContinueSearch; /* not reached */
}

__attribute__((noinline)) int somv_call_close_guarded(void* close, void* device, int* raised) {
  guard_frame frame;
  volatile int result = 0;
  frame.raised = 0;
  frame.registration.Handler = (PEXCEPTION_ROUTINE)guard_handler;
  frame.registration.Next = read_chain();
  /* The handler resumes here, with the registers as they are now and
   * frame.raised set. */
  RtlCaptureContext(&frame.resume);
  if (!frame.raised) {
    write_chain(&frame.registration);
    result = ((close_fn)close)(device);
  }
  write_chain(frame.registration.Next);
  *raised = frame.raised != 0;
  return frame.raised ? 0 : result;
}

#else
#error "the close guard knows the frames of x86 and x86-64 only"
#endif
