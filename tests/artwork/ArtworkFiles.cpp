// File readers shared by the artwork tests; a malformed file fails the calling test, not the process.
#include "ArtworkFiles.h"

#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

namespace artwork_test {

Bytes ReadResource(const std::string& relativePath) {
    const std::string path = std::string(QF_RESOURCES_DIR) + "/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint16_t Le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(Le16(b, at)) | (static_cast<std::uint32_t>(Le16(b, at + 2)) << 16);
}

std::int32_t Le32Signed(const Bytes& b, std::size_t at) { return static_cast<std::int32_t>(Le32(b, at)); }

std::uint16_t Be16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>((b.at(at) << 8) | b.at(at + 1));
}

Pixel Bitmap::At(int x, int y) const {
    const std::size_t row = 54 + static_cast<std::size_t>(height - 1 - y) * stride;
    const std::size_t at = row + static_cast<std::size_t>(x) * 3;
    return Pixel{file[at + 2], file[at + 1], file[at]};
}

Bitmap LoadBitmap(const std::string& relativePath) {
    Bitmap bmp;
    bmp.file = ReadResource(relativePath);
    if (bmp.file.size() < 54) throw std::runtime_error(relativePath + " is shorter than its headers");
    bmp.width = Le32Signed(bmp.file, 18);
    bmp.height = Le32Signed(bmp.file, 22);
    if (bmp.width <= 0 || bmp.height <= 0) throw std::runtime_error(relativePath + " has a bad size");
    bmp.stride = (static_cast<std::size_t>(bmp.width) * 3 + 3) / 4 * 4;
    if (bmp.file.size() < 54 + bmp.stride * bmp.height) throw std::runtime_error(relativePath + " is truncated");
    return bmp;
}

JpegFile ParseJpeg(const std::string& relativePath) {
    JpegFile jpeg;
    jpeg.file = ReadResource(relativePath);
    const Bytes& f = jpeg.file;
    if (f.size() < 4 || f[0] != 0xFF || f[1] != 0xD8) throw std::runtime_error(relativePath + " has no SOI");
    jpeg.segments.push_back({0xD8, 0, {}});
    std::size_t pos = 2;
    while (true) {
        if (pos + 4 > f.size() || f[pos] != 0xFF) throw std::runtime_error(relativePath + ": marker expected");
        const std::uint8_t marker = f[pos + 1];
        const std::size_t length = Be16(f, pos + 2);
        if (length < 2 || pos + 2 + length > f.size()) throw std::runtime_error(relativePath + ": bad segment length");
        jpeg.segments.push_back({marker, pos, Bytes(f.begin() + pos + 4, f.begin() + pos + 2 + length)});
        pos += 2 + length;
        if (marker != 0xDA) continue;
        // The entropy-coded data runs to the first marker that is neither stuffing nor a restart.
        std::size_t end = pos;
        while (end + 1 < f.size() && !(f[end] == 0xFF && f[end + 1] != 0x00 && (f[end + 1] < 0xD0 || f[end + 1] > 0xD7))) ++end;
        if (end + 1 >= f.size()) throw std::runtime_error(relativePath + ": no marker after the scan");
        jpeg.entropyOffset = pos;
        jpeg.entropySize = end - pos;
        if (f[end + 1] != 0xD9) throw std::runtime_error(relativePath + ": the scan is not followed by EOI");
        jpeg.segments.push_back({0xD9, end, {}});
        return jpeg;
    }
}

namespace {

struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1); }

struct DecompressOwner {
    jpeg_decompress_struct cinfo{};
    ~DecompressOwner() { jpeg_destroy_decompress(&cinfo); }
};

}  // namespace

Pixel Decoded::At(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
    return Pixel{rgb[at], rgb[at + 1], rgb[at + 2]};
}

Decoded DecodeJpeg(const Bytes& file) {
    // Everything libjpeg touches lives on the heap behind pointers set before setjmp, so a longjmp
    // back leaves no local in an indeterminate state.
    auto owner = std::make_unique<DecompressOwner>();
    auto out = std::make_unique<Decoded>();
    auto trap = std::make_unique<ErrorTrap>();
    owner->cinfo.err = jpeg_std_error(&trap->mgr);
    trap->mgr.error_exit = &OnJpegError;
    if (setjmp(trap->jump)) throw std::runtime_error("libjpeg rejected the file");
    jpeg_create_decompress(&owner->cinfo);
    jpeg_mem_src(&owner->cinfo, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&owner->cinfo, TRUE);
    owner->cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&owner->cinfo);
    out->width = static_cast<int>(owner->cinfo.output_width);
    out->height = static_cast<int>(owner->cinfo.output_height);
    out->components = owner->cinfo.num_components;
    out->rgb.resize(static_cast<std::size_t>(out->width) * out->height * 3);
    while (owner->cinfo.output_scanline < owner->cinfo.output_height) {
        JSAMPROW row = out->rgb.data() + static_cast<std::size_t>(owner->cinfo.output_scanline) * out->width * 3;
        jpeg_read_scanlines(&owner->cinfo, &row, 1);
    }
    jpeg_finish_decompress(&owner->cinfo);
    return std::move(*out);
}

}  // namespace artwork_test
