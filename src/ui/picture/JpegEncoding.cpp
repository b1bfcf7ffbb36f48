// The one place that talks to libjpeg. Its errors do not return: the library
// calls error_exit, which by default ends the program, so ours jumps back out.
#include "ui/picture/PictureEncoding.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace kavlon {

namespace {

struct ErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void trapError(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    (*info->err->format_message)(info, trap->message);
    std::longjmp(trap->jump, 1);
}

struct Rows {
    const unsigned char* first;
    qsizetype stride;
    int width;
    int height;
};

void setQuality(jpeg_compress_struct& info) {
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    info.dct_method = JDCT_ISLOW;
    // Every pixel keeps its own colour: a one-pixel trace is not smeared into
    // its neighbours by shared colour samples.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
}

// Nothing with a destructor lives here: a libjpeg failure jumps back into this
// function past everything made after the setjmp. The output is libjpeg's
// malloc'd memory, the caller's to free whatever happens.
bool compress(const Rows& rows, unsigned char** out, unsigned long* size, ErrorTrap& trap) {
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = trapError;
    if (setjmp(trap.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = JDIMENSION(rows.width);
    info.image_height = JDIMENSION(rows.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    setQuality(info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.first + qsizetype(info.next_scanline) * rows.stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

EncodedPicture encodeJpeg(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull() && !picture.isNull())
        return {{}, "Not enough memory for the picture."};
    ErrorTrap trap{};
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool done =
        compress({rgb.constBits(), rgb.bytesPerLine(), rgb.width(), rgb.height()}, &out, &size, trap);
    EncodedPicture encoded;
    if (done)
        encoded.bytes = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    else
        encoded.error = QString::fromLocal8Bit(trap.message);
    std::free(out);
    return encoded;
}

} // namespace kavlon
