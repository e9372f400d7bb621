#include "jpegimage.h"

#include "errors.h"

#include <QFile>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE
#include <string>

#include <jpeglib.h>

namespace tarvel {

namespace {

// libjpeg's own error handler ends the process. This one jumps back to the
// decoder with the library's message instead. Only plain data lives in the
// frame that calls setjmp, so jumping back skips no destructor.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf resume;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void errorExit(j_common_ptr cinfo) {
    auto *manager = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->resume, 1);
}

// Warnings (level -1) report damaged data that libjpeg would patch over, such
// as a picture cut short; they end the decoding too. Trace messages are dropped.
void emitMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        errorExit(cinfo);
}

// Decodes into *image; returns false with manager.message set on failure.
bool decodeInto(const QByteArray &bytes, QImage *image, ErrorManager &manager) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&manager.base);
    manager.base.error_exit = errorExit;
    manager.base.emit_message = emitMessage;
    manager.message[0] = '\0';
    if (setjmp(manager.resume)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_GRAYSCALE;
    jpeg_start_decompress(&cinfo);
    *image = QImage(int(cinfo.output_width), int(cinfo.output_height), QImage::Format_Grayscale8);
    if (image->isNull()) {
        std::snprintf(manager.message, sizeof manager.message, "the picture is too large (%u x %u)",
                      cinfo.output_width, cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image->scanLine(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes) {
    if (bytes.isEmpty())
        throw Error("The picture could not be decoded: it holds no data.");
    QImage image;
    ErrorManager manager;
    if (!decodeInto(bytes, &image, manager))
        throw Error(std::string("The picture could not be decoded: ") + manager.message + ".");
    return image;
}

const QImage &grainPicture() {
    static const QImage picture = [] {
        QFile file(QStringLiteral(":/tarvel/grain.jpg"));
        if (!file.open(QIODevice::ReadOnly))
            throw Error("The grain picture is missing from the program.");
        return decodeJpeg(file.readAll());
    }();
    return picture;
}

} // namespace tarvel
