// bitmap_check MODULE BITMAP_FOLDER
//
// Loads a gauge module as the simulator does and loads each of its bitmaps
// from the module's resources with the system's own loader: every bitmap
// drawn into BITMAP_FOLDER (named by its resource id in hexadecimal) must be
// there at its id, with the same size and the same pixels, and the module
// must carry no other bitmap.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

namespace {

int failures;

void fail(const std::string& what) {
    printf("FAILED: %s\n", what.c_str());
    ++failures;
}

std::vector<uint8_t> read_all(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

int32_t i32(const uint8_t* p) { return int32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }

BOOL CALLBACK note_bitmap(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<unsigned>*>(ids)->insert(unsigned(uintptr_t(name)));
    return TRUE;
}

// The bitmap resource `id` against the 24-bit bottom-up BMP file `file`.
void compare(HMODULE module, unsigned id, const std::vector<uint8_t>& file) {
    char hex[16];
    snprintf(hex, sizeof hex, "%04X", id);
    const std::string name = std::string("bitmap 0x") + hex;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || file[28] != 24) {
        fail(name + ": its file is not a 24-bit BMP");
        return;
    }
    const int32_t width = i32(&file[18]), height = i32(&file[22]);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) {
        fail(name + ": the module does not carry it");
        return;
    }
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    if (info.bmWidth != width || info.bmHeight != height) {
        fail(name + ": carried at another size");
    } else {
        BITMAPINFO want = {};
        want.bmiHeader.biSize = sizeof want.bmiHeader;
        want.bmiHeader.biWidth = width;
        want.bmiHeader.biHeight = height;
        want.bmiHeader.biPlanes = 1;
        want.bmiHeader.biBitCount = 24;
        want.bmiHeader.biCompression = BI_RGB;
        const size_t row = (size_t(width) * 3 + 3) & ~size_t(3);
        std::vector<uint8_t> pixels(row * size_t(height));
        HDC dc = CreateCompatibleDC(nullptr);
        const int rows = GetDIBits(dc, bitmap, 0, UINT(height), pixels.data(), &want, DIB_RGB_COLORS);
        DeleteDC(dc);
        const uint32_t offset = uint32_t(i32(&file[10]));
        if (rows != height || file.size() < offset + pixels.size() ||
            memcmp(pixels.data(), file.data() + offset, pixels.size()) != 0)
            fail(name + ": its pixels differ from the drawn bitmap");
    }
    DeleteObject(bitmap);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: bitmap_check MODULE BITMAP_FOLDER\n");
        return 2;
    }
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(argv[1]);
    if (!module) {
        printf("FAILED: %s cannot be loaded\n", argv[1]);
        return 1;
    }
    std::set<unsigned> carried;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(2) /* RT_BITMAP */, note_bitmap,
                       reinterpret_cast<LONG_PTR>(&carried));

    std::set<unsigned> drawn;
    WIN32_FIND_DATAA found;
    const std::string folder = argv[2];
    HANDLE search = FindFirstFileA((folder + "\\*.bmp").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        char* end = nullptr;
        const unsigned id = unsigned(strtoul(found.cFileName, &end, 16));
        if (!end || _stricmp(end, ".bmp") != 0) continue;
        drawn.insert(id);
        compare(module, id, read_all(folder + "\\" + found.cFileName));
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    for (unsigned id : carried)
        if (!drawn.count(id)) fail("the module carries bitmap " + std::to_string(id) + ", which was not drawn");
    FreeLibrary(module);
    printf("%s: %zu bitmaps drawn, %zu carried, %d failed\n", argv[1], drawn.size(), carried.size(), failures);
    return failures ? 1 : 0;
}
