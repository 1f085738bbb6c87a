/* A structured-exception frame around one call into the status library.
 * C, not C++: the frame must be the only exception handler of its function,
 * and a C function gets none from the compiler. Caught: C++ exceptions of the
 * vendor's compiler (0xE06D7363) and of ours (0x20474343), and the failures
 * of the vendor runtime's delay loading, raised when a library or function
 * the status library needs on first use is missing (0xC06D007E, 0xC06D007F).
 * Anything else, an access violation say, goes on to the system as before. */
#include <windows.h>

#define MSVC_CPP_EXCEPTION 0xE06D7363UL
#define GCC_CPP_EXCEPTION 0x20474343UL
#define DELAY_LOAD_MODULE_NOT_FOUND 0xC06D007EUL
#define DELAY_LOAD_PROC_NOT_FOUND 0xC06D007FUL

typedef int(WINAPI* close_fn)(void*);

static int is_library_failure(DWORD code) {
  return code == MSVC_CPP_EXCEPTION || code == GCC_CPP_EXCEPTION ||
         code == DELAY_LOAD_MODULE_NOT_FOUND || code == DELAY_LOAD_PROC_NOT_FOUND;
}

#if defined(__x86_64__)

#include <excpt.h>

/* Called by the system's __C_specific_handler while it looks for a handler. */
__attribute__((used)) static LONG WINAPI somv_close_filter(EXCEPTION_POINTERS* pointers) {
  return is_library_failure(pointers->ExceptionRecord->ExceptionCode) ? EXCEPTION_EXECUTE_HANDLER
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
  void* resume[5]; /* __builtin_setjmp's buffer */
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

/* Nothing caught may be resumed: C++ exceptions are raised non-continuable,
 * and a delay-load failure resumed would jump to the function not found.
 * Like a compiler's __except the handler unwinds and goes on in the guarding
 * function itself. */
static EXCEPTION_DISPOSITION __cdecl guard_handler(EXCEPTION_RECORD* record, void* establisher,
                                                   CONTEXT* context, void* dispatcher) {
  guard_frame* frame = (guard_frame*)establisher;
  (void)context;
  (void)dispatcher;
  if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
  if (!is_library_failure(record->ExceptionCode)) return ExceptionContinueSearch;
  unwind_to(establisher, record);
  __builtin_longjmp(frame->resume, 1);
}

__attribute__((noinline)) int somv_call_close_guarded(void* close, void* device, int* raised) {
  guard_frame frame;
  int result;
  frame.registration.Handler = (PEXCEPTION_ROUTINE)guard_handler;
  frame.registration.Next = read_chain();
  if (__builtin_setjmp(frame.resume) != 0) {
    write_chain(frame.registration.Next);
    *raised = 1;
    return 0;
  }
  write_chain(&frame.registration);
  result = ((close_fn)close)(device);
  write_chain(frame.registration.Next);
  *raised = 0;
  return result;
}

#else
#error "the close guard knows the frames of x86 and x86-64 only"
#endif
