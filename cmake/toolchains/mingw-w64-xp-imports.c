/* Linked into every program of the win32-threads build (mingw-w64-i686-xp.cmake).
 *
 * From GCC 13 on, that runtime's thread layer (libgcc's gthr-win32) calls
 * Windows Vista's condition variables and GetThreadId. libstdc++ reaches it
 * from function-local statics, locales and the exception allocator, so every
 * C++ program would import them, and Windows XP's loader refuses a program
 * that imports what its DLLs lack. Here the import slots those calls go
 * through are filled with functions that look the real ones up in
 * kernel32.dll when called and fall back to XP's means where they are
 * missing. The programs are single-threaded, so on XP no thread ever waits on
 * a condition variable: a wait would be a second thread meeting a static still
 * being made, and it fails (libstdc++ then terminates) rather than hang. */
#include <windows.h>

static FARPROC kernel32_function(const char* name) {
    return GetProcAddress(GetModuleHandleA("kernel32.dll"), name);
}

typedef DWORD(WINAPI* thread_id_function)(HANDLE);
typedef LONG(NTAPI* query_thread_function)(HANDLE, int, PVOID, ULONG, PULONG);

/* NtQueryInformationThread's ThreadBasicInformation, which XP has. */
typedef struct {
    LONG exit_status;
    PVOID teb;
    HANDLE process_id;
    HANDLE thread_id;
    ULONG_PTR affinity;
    LONG priority;
    LONG base_priority;
} basic_thread_information;

static DWORD WINAPI thread_id(HANDLE thread) {
    FARPROC vista = kernel32_function("GetThreadId");
    if (vista)
        return ((thread_id_function)(void (*)(void))vista)(thread);
    FARPROC query = GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread");
    basic_thread_information info;
    if (!query ||
        ((query_thread_function)(void (*)(void))query)(thread, 0, &info, sizeof info, NULL) < 0)
        return 0;
    return (DWORD)(ULONG_PTR)info.thread_id;
}

typedef void(WINAPI* condition_function)(PVOID);
typedef BOOL(WINAPI* condition_sleep_function)(PVOID, PCRITICAL_SECTION, DWORD);

static void WINAPI initialize_condition(PVOID condition) {
    FARPROC vista = kernel32_function("InitializeConditionVariable");
    if (vista)
        ((condition_function)(void (*)(void))vista)(condition);
    else
        *(PVOID*)condition = NULL;
}

static void WINAPI wake_condition(PVOID condition) {
    FARPROC vista = kernel32_function("WakeConditionVariable");
    if (vista)
        ((condition_function)(void (*)(void))vista)(condition);
}

static void WINAPI wake_all_condition(PVOID condition) {
    FARPROC vista = kernel32_function("WakeAllConditionVariable");
    if (vista)
        ((condition_function)(void (*)(void))vista)(condition);
}

static BOOL WINAPI sleep_condition(PVOID condition, PCRITICAL_SECTION section, DWORD milliseconds) {
    FARPROC vista = kernel32_function("SleepConditionVariableCS");
    if (vista)
        return ((condition_sleep_function)(void (*)(void))vista)(condition, section, milliseconds);
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

/* The names libgcc's dllimport calls go through; defined here, they keep the
 * linker from taking kernel32's import entries. */
void* const cubes_thread_id __asm__("__imp__GetThreadId@4") = (void*)thread_id;
void* const cubes_initialize_condition __asm__("__imp__InitializeConditionVariable@4") = (void*)
    initialize_condition;
void* const cubes_wake_condition __asm__("__imp__WakeConditionVariable@4") = (void*)wake_condition;
void* const cubes_wake_all_condition __asm__("__imp__WakeAllConditionVariable@4") = (void*)
    wake_all_condition;
void* const cubes_sleep_condition __asm__("__imp__SleepConditionVariableCS@12") = (void*)
    sleep_condition;
