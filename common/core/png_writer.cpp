#include "common/core/png_writer.h"

#include "common/core/atomic_file_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace korv {
namespace {

// Everything the encoder touches, as plain data: libpng reports an error by
// longjmp, which must not skip a destructor.
struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    AtomicFileWriter* file = nullptr;
    png_uint_32 width = 0, height = 0;
    const std::uint8_t* rgb = nullptr;
    std::size_t stride = 0;
    char error[256] = {};
};

void write_bytes(png_structp png, png_bytep data, std::size_t n) {
    // A failed write is kept by the writer and reported by commit().
    static_cast<AtomicFileWriter*>(png_get_io_ptr(png))->write(data, n);
}

void flush_nothing(png_structp) {}

[[noreturn]] void fail(png_structp png, png_const_charp message) {
    auto* job = static_cast<PngJob*>(png_get_error_ptr(png));
    std::strncpy(job->error, message != nullptr ? message : "unknown error", sizeof job->error - 1);
    png_longjmp(png, 1);
}

// A warning never stops the file, and the programs have no console to show it on.
void ignore_warning(png_structp, png_const_charp) {}

// The only frame an error jumps back to; it and every frame the jump leaves
// hold nothing with a destructor. False after a libpng error.
bool encode(PngJob& job) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_write_fn(job.png, job.file, write_bytes, flush_nothing);
    png_set_IHDR(job.png, job.info, job.width, job.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(job.png, job.info);
    for (png_uint_32 y = 0; y < job.height; ++y)
        png_write_row(job.png, job.rgb + static_cast<std::size_t>(y) * job.stride);
    png_write_end(job.png, nullptr);
    return true;
}

}  // namespace

std::optional<std::string> WritePngRgb(const std::string& path, int width, int height, const std::uint8_t* rgb,
                                       std::size_t stride) {
    AtomicFileWriter file;
    if (auto error = file.open(path)) return error;

    PngJob job;
    job.file = &file;
    // Sizes of zero or below become sizes libpng refuses.
    job.width = width > 0 ? static_cast<png_uint_32>(width) : 0;
    job.height = height > 0 ? static_cast<png_uint_32>(height) : 0;
    job.rgb = rgb;
    job.stride = stride;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &job, fail, ignore_warning);
    if (job.png == nullptr) return std::string("cannot start the PNG encoder");
    job.info = png_create_info_struct(job.png);
    if (job.info == nullptr) std::strcpy(job.error, "out of memory");
    const bool encoded = job.info != nullptr && encode(job);
    png_destroy_write_struct(&job.png, &job.info);
    if (!encoded) return "cannot encode PNG: " + std::string(job.error);
    return file.commit();
}

}  // namespace korv
