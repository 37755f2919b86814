// The host's system services on Windows: modules are opened with LoadLibrary
// as the simulator opens them (the wide call: paths are UTF-8 in the host,
// and may hold any character), their memory is found from their PE headers,
// and their system calls are watched by pointing each module's import
// address table at recording wrappers. The wrappers behave as the Kestrel
// system library does on Linux (frame/system_linux.cpp): bare library names
// are found on the host's library path only, and every call is reported the
// same way, so a scenario's transcript is the same on both systems.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <string.h>

#include "host/platform.h"
#include "host/utf8.h"

namespace kestrel {

namespace {

SystemEvents* sink;
std::string library_path;  // directories separated by ';'

std::string backslashes(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool is_file(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file that a library name stands for, or "" when none exists. A name
// with a '\' or '/' is a path; a bare name without an extension gets ".dll"
// and is looked for in the library path's directories.
std::string find_library(const char* name) {
    if (!name || !*name) return "";
    std::string file = backslashes(name);
    if (file.find('\\') != std::string::npos) return is_file(file) ? file : "";
    if (file.find('.') == std::string::npos) file += ".dll";
    size_t start = 0;
    while (start <= library_path.size()) {
        size_t end = library_path.find(';', start);
        if (end == std::string::npos) end = library_path.size();
        if (end > start) {
            const std::string candidate = backslashes(library_path.substr(start, end - start)) + "\\" + file;
            if (is_file(candidate)) return candidate;
        }
        start = end + 1;
    }
    return "";
}

// The file a loaded module came from (null: the program), "" if unknown.
std::string module_file(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return "";
        if (n < path.size()) {
            path.resize(n);
            return narrow(path);
        }
        if (path.size() >= 32768) return "";  // the longest path Windows has
        path.resize(path.size() * 2);
    }
}

// The name a loaded library goes by: its file name without folder and extension.
std::string library_name(HMODULE module) {
    std::string name = module_file(module);
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    const size_t dot = name.find('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

void report_library(const char* call, const char* name, bool found) {
    if (sink) sink->library_call(call, name, found);
}

// ---------------------------------------------------------------------------
// What the modules call instead of the system's functions.

HMODULE WINAPI load_library(LPCSTR name) {
    const std::string file = find_library(name);
    HMODULE module = file.empty() ? nullptr : LoadLibraryW(wide(file).c_str());
    if (file.empty()) SetLastError(ERROR_MOD_NOT_FOUND);
    report_library("LoadLibraryA", name, module != nullptr);
    return module;
}

HMODULE WINAPI get_module_handle(LPCSTR name) {
    const std::string file = find_library(name);
    HMODULE module = file.empty() ? nullptr : GetModuleHandleW(wide(file).c_str());
    if (file.empty()) SetLastError(ERROR_MOD_NOT_FOUND);
    report_library("GetModuleHandleA", name, module != nullptr);
    return module;
}

BOOL WINAPI free_library(HMODULE module) {
    if (!module) return FALSE;
    const std::string name = library_name(module);
    const BOOL released = FreeLibrary(module);
    report_library("FreeLibrary", name.c_str(), released != FALSE);
    return released;
}

// Sounds still playing when the process ends are stopped first: the system's
// player thread, torn down half way through a sound, can crash the exit.
void stop_sounds() { PlaySoundA(nullptr, nullptr, 0); }

BOOL WINAPI play_sound(LPCSTR sound, HMODULE module, DWORD flags) {
    static const bool stopped_at_exit = atexit(stop_sounds) == 0;
    (void)stopped_at_exit;
    if (sink) sink->play_sound(sound, flags);
    return PlaySoundA(sound, module, flags);
}

}  // namespace

// The GaugeSound functions are reached through trampolines: each reports its
// call, then jumps to the library's own function, which returns straight to
// the module. The module thus meets the library's own calling convention
// (__stdcall or __cdecl), exactly as it does without the host watching.
extern "C" {
__attribute__((used)) const void* real_play asm("kestrel_real_play") = nullptr;
__attribute__((used)) const void* real_stop asm("kestrel_real_stop") = nullptr;
__attribute__((used)) const void* real_terminate asm("kestrel_real_terminate") = nullptr;

__attribute__((used)) void report_play(const char* path, const char* arg, int32_t flags) asm(
    "kestrel_report_play");
__attribute__((used)) void report_stop(const char* path) asm("kestrel_report_stop");
__attribute__((used)) void report_terminate() asm("kestrel_report_terminate");

void report_play(const char* path, const char* arg, int32_t flags) {
    if (sink) sink->gauge_sound("GaugePlaySound", path, arg, flags);
}
void report_stop(const char* path) {
    if (sink) sink->gauge_sound("GaugeStopSound", path, nullptr, 0);
}
void report_terminate() {
    if (sink) sink->gauge_sound("TerminateSounds", nullptr, nullptr, 0);
}

void record_play() asm("kestrel_record_play");
void record_stop() asm("kestrel_record_stop");
void record_terminate() asm("kestrel_record_terminate");
}

// On entry the stack holds the return address, then the arguments. Each
// argument is pushed again for the report (a __cdecl call that leaves every
// register a callee may keep), the copies are dropped, and the jump leaves
// the stack as the module made it.
asm(".text\n"
    ".p2align 4\n"
    "kestrel_record_play:\n"
    "    pushl 12(%esp)\n"
    "    pushl 12(%esp)\n"
    "    pushl 12(%esp)\n"
    "    call kestrel_report_play\n"
    "    addl $12, %esp\n"
    "    jmp *kestrel_real_play\n"
    ".p2align 4\n"
    "kestrel_record_stop:\n"
    "    pushl 4(%esp)\n"
    "    call kestrel_report_stop\n"
    "    addl $4, %esp\n"
    "    jmp *kestrel_real_stop\n"
    ".p2align 4\n"
    "kestrel_record_terminate:\n"
    "    call kestrel_report_terminate\n"
    "    jmp *kestrel_real_terminate\n");

namespace {

FARPROC WINAPI get_proc_address(HMODULE module, LPCSTR name) {
    const FARPROC real = GetProcAddress(module, name);
    if (!real || IS_INTRESOURCE(name) || lstrcmpiA(library_name(module).c_str(), "GaugeSound") != 0)
        return real;
    const struct {
        const char* name;
        const void** real;
        void (*record)();
    } watched[] = {
        {"GaugePlaySound", &real_play, record_play},
        {"GaugeStopSound", &real_stop, record_stop},
        {"TerminateSounds", &real_terminate, record_terminate},
    };
    for (const auto& w : watched) {
        if (strcmp(name, w.name) != 0) continue;
        *w.real = reinterpret_cast<const void*>(real);
        return reinterpret_cast<FARPROC>(w.record);
    }
    return real;
}

// ---------------------------------------------------------------------------
// Modules

struct Replacement {
    const char* library;
    const char* function;
    const void* wrapper;
};

const Replacement replacements[] = {
    {"kernel32.dll", "LoadLibraryA", reinterpret_cast<const void*>(load_library)},
    {"kernel32.dll", "GetModuleHandleA", reinterpret_cast<const void*>(get_module_handle)},
    {"kernel32.dll", "GetProcAddress", reinterpret_cast<const void*>(get_proc_address)},
    {"kernel32.dll", "FreeLibrary", reinterpret_cast<const void*>(free_library)},
    {"winmm.dll", "PlaySoundA", reinterpret_cast<const void*>(play_sound)},
};

const IMAGE_NT_HEADERS32* nt_headers(HMODULE module) {
    const auto* base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
}

void replace_entry(IMAGE_THUNK_DATA32* entry, const void* wrapper) {
    DWORD old;
    if (!VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &old)) return;
    entry->u1.Function = static_cast<DWORD>(reinterpret_cast<uintptr_t>(wrapper));
    VirtualProtect(entry, sizeof *entry, old, &old);
}

// Points the module's imports of the watched functions at the wrappers. An
// import is known by its name, or, where the module keeps no names, by the
// address it was bound to.
void watch_imports(HMODULE module) {
    auto* base = reinterpret_cast<uint8_t*>(module);
    const IMAGE_DATA_DIRECTORY& dir =
        nt_headers(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0 || dir.Size == 0) return;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        const char* library = reinterpret_cast<const char*>(base + d->Name);
        auto* entries = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->FirstThunk);
        const auto* names = d->OriginalFirstThunk
                                ? reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + d->OriginalFirstThunk)
                                : nullptr;
        for (size_t i = 0; entries[i].u1.Function; ++i) {
            const char* function = nullptr;
            if (names && !IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal))
                function = reinterpret_cast<const char*>(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData)->Name);
            for (const Replacement& r : replacements) {
                if (lstrcmpiA(library, r.library) != 0) continue;
                bool match = function && strcmp(function, r.function) == 0;
                if (!function) {
                    HMODULE system = GetModuleHandleA(r.library);
                    const FARPROC bound = system ? GetProcAddress(system, r.function) : nullptr;
                    match = bound && entries[i].u1.Function == reinterpret_cast<uintptr_t>(bound);
                }
                if (match) replace_entry(&entries[i], r.wrapper);
            }
        }
    }
}

// Headers and readable sections are data; executable sections are code;
// headers and sections without write access are read-only.
void find_memory(HMODULE module, Memory* memory) {
    const uintptr_t base = reinterpret_cast<uintptr_t>(module);
    const IMAGE_NT_HEADERS32* nt = nt_headers(module);
    memory->data.push_back({base, base + nt->OptionalHeader.SizeOfHeaders});
    memory->readonly.push_back({base, base + nt->OptionalHeader.SizeOfHeaders});
    const IMAGE_SECTION_HEADER* s = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++s) {
        const DWORD size = s->Misc.VirtualSize ? s->Misc.VirtualSize : s->SizeOfRawData;
        const Range r{base + s->VirtualAddress, base + s->VirtualAddress + size};
        if (s->Characteristics & IMAGE_SCN_MEM_READ) memory->data.push_back(r);
        if (s->Characteristics & IMAGE_SCN_MEM_EXECUTE) memory->code.push_back(r);
        if (!(s->Characteristics & IMAGE_SCN_MEM_WRITE)) memory->readonly.push_back(r);
    }
}

// The system's words for an error, with the file named where they name one.
std::string system_message(DWORD error, const std::string& file) {
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                             nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ' || text[n - 1] == L'.'))
        --n;
    std::string message = n > 0 ? narrow(std::wstring_view(text, n)) : "";
    if (text) LocalFree(text);
    if (message.empty()) return "error " + std::to_string(error);
    const size_t insert = message.find("%1");
    if (insert != std::string::npos) message.replace(insert, 2, file);
    return message;
}

// A path made whole against the working directory, so that LoadLibrary opens
// that very file rather than searching for its name.
std::wstring full_path(const std::string& path) {
    const std::wstring relative = wide(backslashes(path));
    const DWORD n = GetFullPathNameW(relative.c_str(), 0, nullptr, nullptr);
    if (n == 0) return relative;
    std::wstring full(n, L'\0');
    const DWORD m = GetFullPathNameW(relative.c_str(), n, full.data(), nullptr);
    if (m == 0 || m >= n) return relative;
    full.resize(m);
    return full;
}

}  // namespace

bool open_library(const std::string& path, Library* out, std::string* error) {
    const std::wstring file = full_path(path);
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
        *error = "no such module file";
        return false;
    }
    // A module that cannot be loaded is reported here, not in a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryW(file.c_str());
    if (!module) {
        *error = "cannot be loaded: " + system_message(GetLastError(), path);
        return false;
    }
    Library library;
    library.handle = module;
    find_memory(module, &library.memory);
    watch_imports(module);
    *out = library;
    return true;
}

void* library_symbol(const Library& library, const char* name) {
    if (!library.handle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library.handle), name));
}

void close_library(Library* library) {
    if (library->handle) FreeLibrary(static_cast<HMODULE>(library->handle));
    *library = Library{};
}

bool library_bitmap_size(const Library& library, uint32_t id, int* width, int* height) {
    const auto module = static_cast<HMODULE>(library.handle);
    if (!module || id > 0xFFFF) return false;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || SizeofResource(module, found) < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER info;
    memcpy(&info, data, sizeof info);
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biHeight == INT32_MIN) return false;
    *width = info.biWidth;
    *height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    return true;
}

void watch_system(SystemEvents* events) { sink = events; }

void set_library_path(const std::string& directories) { library_path = directories; }

std::string program_directory() {
    const std::string path = module_file(nullptr);
    if (path.empty()) return ".";
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::vector<std::string> program_arguments(int argc, char** argv) {
    // What the program prints is UTF-8: the console is told so (output
    // redirected to a file gets the bytes as they are).
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide_args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide_args) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(narrow(wide_args[i]));
    LocalFree(wide_args);
    return out;
}

}  // namespace kestrel
