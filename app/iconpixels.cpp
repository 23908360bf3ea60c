// Build tool: turns the icon's PNGs into pixels compiled into the program, which then
// reads no picture file at start (Qt loads every image plugin to read any one).
//   spinzelle-icon-pixels OUT.h IN.png...
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out, "// Generated from the icon's PNGs by spinzelle-icon-pixels.\n#pragma once\n\n"
                      "struct IconPicture {\n    int size;\n    const unsigned int* argb;\n};\n\n");
    for (int i = 2; i < argc; ++i) {
        const QImage image = QImage(QString::fromLocal8Bit(argv[i]), "PNG").convertToFormat(QImage::Format_ARGB32);
        if (image.isNull() || image.width() != image.height()) return 1;
        std::fprintf(out, "inline constexpr unsigned int kIcon%d[] = {", i - 2);
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) std::fprintf(out, "%s0x%08xu,", x % 8 ? " " : "\n    ", line[x]);
        }
        std::fprintf(out, "\n};\n");
    }
    std::fprintf(out, "\ninline constexpr IconPicture kIconPictures[] = {");
    for (int i = 2; i < argc; ++i)
        std::fprintf(out, "{%d, kIcon%d}, ", QImage(QString::fromLocal8Bit(argv[i]), "PNG").width(), i - 2);
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
