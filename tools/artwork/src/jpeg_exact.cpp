// libjpeg produces the tables and the entropy-coded data; the segments are then laid out in the order
// the game's files use, which libjpeg cannot be told to write on its own.
#include "jpeg_exact.h"

#include <cstdio>
#include <jpeglib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>

namespace art {

namespace {

using Tables = std::array<std::array<unsigned int, 64>, 2>;

// Reference tables of the JPEG standard (Annex K), row-major.
constexpr std::array<unsigned int, 64> kLuma = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24, 40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35, 55, 64,
    81, 104, 113, 92, 49, 64, 78,  87,  103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::array<unsigned int, 64> kChroma = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

constexpr std::uint8_t kMarkerSoi = 0xD8, kMarkerEoi = 0xD9, kMarkerSos = 0xDA, kMarkerDqt = 0xDB,
                       kMarkerDht = 0xC4, kMarkerSof0 = 0xC0, kMarkerApp0 = 0xE0, kMarkerApp1 = 0xE1;

struct CompressDeleter {
    void operator()(jpeg_compress_struct* c) const {
        jpeg_destroy_compress(c);
        delete c;
    }
};

struct Segments {
    std::vector<std::vector<std::uint8_t>> dqt, dht;
    std::vector<std::uint8_t> sof, sos, entropy;
};

Tables Scaled(int scale) {
    Tables t{};
    for (int i = 0; i < 64; ++i) {
        t[0][i] = std::clamp((kLuma[i] * scale + 50) / 100, 1u, 255u);
        t[1][i] = std::clamp((kChroma[i] * scale + 50) / 100, 1u, 255u);
    }
    return t;
}

std::vector<std::uint8_t> Compress(const Image& image, const Tables& tables) {
    std::unique_ptr<jpeg_compress_struct, CompressDeleter> cinfo(new jpeg_compress_struct{});
    jpeg_error_mgr err{};
    cinfo->err = jpeg_std_error(&err);
    jpeg_create_compress(cinfo.get());
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(cinfo.get(), &buffer, &size);
    cinfo->image_width = static_cast<JDIMENSION>(image.width);
    cinfo->image_height = static_cast<JDIMENSION>(image.height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo.get());
    cinfo->write_JFIF_header = FALSE;
    cinfo->write_Adobe_marker = FALSE;
    cinfo->optimize_coding = FALSE;  // the standard Huffman tables, so the table segments have fixed sizes
    cinfo->dct_method = JDCT_ISLOW;  // exact integer transform: same bytes on every machine
    for (int c = 0; c < 3; ++c) {
        cinfo->comp_info[c].h_samp_factor = 1;
        cinfo->comp_info[c].v_samp_factor = 1;
    }
    jpeg_add_quant_table(cinfo.get(), 0, tables[0].data(), 100, TRUE);
    jpeg_add_quant_table(cinfo.get(), 1, tables[1].data(), 100, TRUE);
    jpeg_start_compress(cinfo.get(), TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width) * 3);
    while (cinfo->next_scanline < cinfo->image_height) {
        int y = static_cast<int>(cinfo->next_scanline);
        for (int x = 0; x < image.width; ++x) {
            const Rgb& p = image.At(x, y);
            row[x * 3] = p.r;
            row[x * 3 + 1] = p.g;
            row[x * 3 + 2] = p.b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(cinfo.get(), rows, 1);
    }
    jpeg_finish_compress(cinfo.get());
    std::unique_ptr<unsigned char, void (*)(void*)> owned(buffer, &std::free);
    return std::vector<std::uint8_t>(buffer, buffer + size);
}

Segments Split(const std::vector<std::uint8_t>& file) {
    if (file.size() < 4 || file[0] != 0xFF || file[1] != kMarkerSoi) throw std::runtime_error("no SOI");
    Segments s;
    std::size_t pos = 2;
    while (pos + 4 <= file.size()) {
        if (file[pos] != 0xFF) throw std::runtime_error("marker expected");
        std::uint8_t code = file[pos + 1];
        std::size_t length = (static_cast<std::size_t>(file[pos + 2]) << 8) | file[pos + 3];
        std::vector<std::uint8_t> segment(file.begin() + pos, file.begin() + pos + 2 + length);
        pos += 2 + length;
        switch (code) {
            case kMarkerDqt: s.dqt.push_back(std::move(segment)); break;
            case kMarkerDht: s.dht.push_back(std::move(segment)); break;
            case kMarkerSof0: s.sof = std::move(segment); break;
            case kMarkerSos:
                s.sos = std::move(segment);
                if (file[file.size() - 2] != 0xFF || file[file.size() - 1] != kMarkerEoi) throw std::runtime_error("no EOI");
                s.entropy.assign(file.begin() + pos, file.end() - 2);
                return s;
            default: throw std::runtime_error("unexpected marker from libjpeg");
        }
    }
    throw std::runtime_error("no SOS");
}

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

std::vector<std::uint8_t> Jfif(int dpi) {
    return {0xFF, kMarkerApp0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 1,
            static_cast<std::uint8_t>(dpi >> 8), static_cast<std::uint8_t>(dpi),
            static_cast<std::uint8_t>(dpi >> 8), static_cast<std::uint8_t>(dpi), 0, 0};
}

std::vector<std::uint8_t> Assemble(const Segments& s, const JpegRequest& request) {
    std::vector<std::uint8_t> out = {0xFF, kMarkerSoi};
    Append(out, Jfif(request.densityDpi));
    for (const auto& d : s.dqt) Append(out, d);
    Append(out, s.sof);
    for (const auto& d : s.dht) Append(out, d);
    if (!request.app1Payload.empty()) {
        std::size_t length = request.app1Payload.size() + 2;
        Append(out, {0xFF, kMarkerApp1, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)});
        Append(out, request.app1Payload);
    }
    Append(out, s.sos);
    Append(out, s.entropy);
    Append(out, {0xFF, kMarkerEoi});
    return out;
}

class Search {
public:
    Search(const Image& image, const JpegRequest& request) : image_(image), request_(request) {}

    std::size_t EntropySize(const Tables& t) {
        auto found = cache_.find(t);
        if (found != cache_.end()) return found->second;
        ++encodes_;
        std::size_t size = Split(Compress(image_, t)).entropy.size();
        cache_.emplace(t, size);
        return size;
    }

    JpegResult Run() {
        Segments probe = Split(Compress(image_, Scaled(50)));
        std::size_t overhead = Assemble(probe, request_).size() - probe.entropy.size();
        if (request_.totalSize <= overhead) throw std::runtime_error("requested JPEG size below its headers");
        const std::size_t target = request_.totalSize - overhead;

        // Coarsest scale whose data is still at least the target: larger scales mean smaller files.
        int lo = 1, hi = 1000;
        if (EntropySize(Scaled(lo)) < target) throw std::runtime_error("picture too simple for the requested size");
        while (hi - lo > 1) {
            int mid = (lo + hi) / 2;
            if (EntropySize(Scaled(mid)) >= target) lo = mid; else hi = mid;
        }
        Tables current = Scaled(lo);
        JpegResult result;
        result.scale = lo;

        // Walk single-entry steps of the high-frequency table entries until the size is exact.
        std::set<Tables> visited{current};
        for (int step = 0; step < 200 && EntropySize(current) != target; ++step) {
            Tables best{};
            long bestGap = -1;
            for (int t = 0; t < 2; ++t) {
                for (int i = 63; i >= 1; --i) {
                    for (int delta : {1, -1}) {
                        Tables next = current;
                        long v = static_cast<long>(next[t][i]) + delta;
                        if (v < 1 || v > 255) continue;
                        next[t][i] = static_cast<unsigned int>(v);
                        if (visited.count(next)) continue;
                        long gap = std::labs(static_cast<long>(EntropySize(next)) - static_cast<long>(target));
                        if (bestGap < 0 || gap < bestGap) {
                            bestGap = gap;
                            best = next;
                        }
                        if (gap == 0) break;
                    }
                    if (bestGap == 0) break;
                }
                if (bestGap == 0) break;
            }
            if (bestGap < 0) break;
            current = best;
            visited.insert(current);
            ++result.tweaks;
        }
        if (EntropySize(current) != target) throw std::runtime_error("no table set gives the exact JPEG size");
        result.bytes = Assemble(Split(Compress(image_, current)), request_);
        result.encodes = encodes_;
        if (result.bytes.size() != request_.totalSize) throw std::runtime_error("assembled JPEG has the wrong size");
        return result;
    }

private:
    const Image& image_;
    const JpegRequest& request_;
    std::map<Tables, std::size_t> cache_;
    int encodes_ = 0;
};

}  // namespace

JpegResult EncodeExactJpeg(const Image& image, const JpegRequest& request) {
    return Search(image, request).Run();
}

}  // namespace art
