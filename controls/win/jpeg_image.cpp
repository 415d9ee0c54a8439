#include "controls/win/jpeg_image.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h wants FILE declared
#include <new>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

// The decoder's memory back end, in place of the library's own (jmemnobs),
// whose null on exhaustion the decoder turns into a decode error: the banner
// would stay empty and nobody would learn why. Here the decoder's memory
// comes from the program's allocator like every other buffer, which ends in
// the fatal error box naming the bytes. The nothrow form, so that no
// exception can ever travel through the library's C frames.
//
// Every function of that member is defined, beside DecodeJpeg: the linker
// pulls an archive member only for a symbol still undefined, so with these
// linked the library's is not. One left out would pull it back and fail the
// link on the duplicates.
extern "C" {
void* jpeg_get_small(j_common_ptr, std::size_t bytes) { return ::operator new(bytes, std::nothrow); }
void jpeg_free_small(j_common_ptr, void* object, std::size_t) { ::operator delete(object); }
void* jpeg_get_large(j_common_ptr, std::size_t bytes) { return ::operator new(bytes, std::nothrow); }
void jpeg_free_large(j_common_ptr, void* object, std::size_t) { ::operator delete(object); }
// Whatever the decoder may need is promised, so it never asks for backing store.
std::size_t jpeg_mem_available(j_common_ptr, std::size_t, std::size_t most, std::size_t) { return most; }
void jpeg_open_backing_store(j_common_ptr info, struct backing_store_struct*, long) {
    ERREXIT(info, JERR_NO_BACKING_STORE);
}
long jpeg_mem_init(j_common_ptr) { return 0; }  // no limit of its own
void jpeg_mem_term(j_common_ptr) {}
}

namespace tolvane {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

// libjpeg reports fatal errors by calling this; it must not return.
void OnJpegError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1); }
// Warnings and traces are not shown anywhere: a damaged banner either
// decodes as well as it can or fails as a whole.
void OnJpegMessage(j_common_ptr, int) {}
void OnJpegOutput(j_common_ptr) {}
void OnJpegFormat(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void OnJpegReset(j_common_ptr info) {
    info->err->num_warnings = 0;
    info->err->msg_code = 0;
}

// The library's own error manager (jpeg_std_error) would link its message
// table and the stdio printing behind it; nothing here ever prints them.
jpeg_error_mgr* InitErrorManager(ErrorManager& err) {
    err.base.error_exit = OnJpegError;
    err.base.emit_message = OnJpegMessage;
    err.base.output_message = OnJpegOutput;
    err.base.format_message = OnJpegFormat;
    err.base.reset_error_mgr = OnJpegReset;
    return &err.base;
}

}  // namespace

GdiObject<HBITMAP> DecodeJpeg(const void* bytes, std::size_t size, int* width, int* height) {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = InitErrorManager(err);
    // volatile: it survives the longjmp back here. Raw until the return: a
    // longjmp must not cross an object with a destructor, so no owner lives
    // in this frame while the decoder may still jump.
    HBITMAP volatile bitmap = nullptr;
    if (setjmp(err.escape)) {
        jpeg_destroy_decompress(&info);
        const GdiObject<HBITMAP> unfinished(bitmap);  // deleted on the way out
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, static_cast<const unsigned char*>(bytes), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX;  // the byte order of a 32-bit DIB
    jpeg_start_decompress(&info);

    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    auto* row = static_cast<unsigned char*>(bits);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row + static_cast<std::size_t>(info.output_scanline) * w * 4};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    *width = w;
    *height = h;
    return GdiObject<HBITMAP>(bitmap);
}

}  // namespace tolvane
