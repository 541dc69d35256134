// Checks shared by the two JPEG files: a clean baseline JFIF 1.01 with three full-resolution components.
#pragma once

#include "ArtworkFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace artwork_test {

inline constexpr std::uint8_t kSoi = 0xD8, kApp0 = 0xE0, kApp1 = 0xE1, kDqt = 0xDB, kSof0 = 0xC0, kDht = 0xC4,
                              kSos = 0xDA, kEoi = 0xD9;

inline void ExpectJfif101(const Segment& app0, int dpi) {
    ASSERT_EQ(app0.marker, kApp0);
    ASSERT_EQ(app0.body.size(), 14u);
    EXPECT_EQ(std::string(app0.body.begin(), app0.body.begin() + 5), std::string("JFIF\0", 5));
    EXPECT_EQ(app0.body[5], 1);
    EXPECT_EQ(app0.body[6], 1);
    EXPECT_EQ(app0.body[7], 1) << "density unit: dots per inch";
    EXPECT_EQ(Be16(app0.body, 8), dpi);
    EXPECT_EQ(Be16(app0.body, 10), dpi);
    EXPECT_EQ(app0.body[12], 0) << "no thumbnail";
    EXPECT_EQ(app0.body[13], 0) << "no thumbnail";
}

// SOF0, 8-bit, components 1, 2, 3 at 1 x 1 with table 0 for luminance and 1 for both chrominances.
inline void ExpectBaselineFrame(const Segment& sof, int width, int height) {
    ASSERT_EQ(sof.marker, kSof0);
    ASSERT_EQ(sof.body.size(), 15u);
    EXPECT_EQ(sof.body[0], 8);
    EXPECT_EQ(Be16(sof.body, 1), height);
    EXPECT_EQ(Be16(sof.body, 3), width);
    ASSERT_EQ(sof.body[5], 3);
    const std::uint8_t expected[3][3] = {{1, 0x11, 0}, {2, 0x11, 1}, {3, 0x11, 1}};
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 3; ++k) EXPECT_EQ(sof.body[6 + 3 * c + k], expected[c][k]) << "component " << c;
}

inline void ExpectQuantTable(const Segment& dqt, int id) {
    ASSERT_EQ(dqt.marker, kDqt);
    ASSERT_EQ(dqt.body.size(), 65u) << "one 8-bit table";
    EXPECT_EQ(dqt.body[0], id) << "precision 0, table id";
    for (int i = 1; i <= 64; ++i) EXPECT_GE(dqt.body[i], 1);
}

// Four Huffman tables: DC and AC for luminance (0) and for chrominance (1).
inline void ExpectHuffmanTables(const std::vector<const Segment*>& dht) {
    ASSERT_EQ(dht.size(), 4u);
    std::vector<int> classes;
    for (const Segment* s : dht) {
        ASSERT_GE(s->body.size(), 17u);
        std::size_t codes = 0;
        for (int i = 1; i <= 16; ++i) codes += s->body[i];
        EXPECT_EQ(s->body.size(), 17 + codes) << "one table per segment";
        classes.push_back(s->body[0]);
    }
    std::sort(classes.begin(), classes.end());
    EXPECT_EQ(classes, (std::vector<int>{0x00, 0x01, 0x10, 0x11}));
}

inline void ExpectFullScan(const Segment& sos) {
    ASSERT_EQ(sos.marker, kSos);
    ASSERT_EQ(sos.body.size(), 10u);
    EXPECT_EQ(sos.body[0], 3);
    const std::uint8_t expected[3][2] = {{1, 0x00}, {2, 0x11}, {3, 0x11}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(sos.body[1 + 2 * c], expected[c][0]);
        EXPECT_EQ(sos.body[2 + 2 * c], expected[c][1]);
    }
    EXPECT_EQ(sos.body[7], 0);
    EXPECT_EQ(sos.body[8], 63);
    EXPECT_EQ(sos.body[9], 0);
}

// Inside the scan every 0xFF is stuffing: no restart or other marker hides in the data.
inline void ExpectOnlyStuffedBytes(const JpegFile& jpeg) {
    int unstuffed = 0;
    for (std::size_t i = jpeg.entropyOffset; i < jpeg.entropyOffset + jpeg.entropySize; ++i)
        if (jpeg.file[i] == 0xFF) unstuffed += jpeg.file[i + 1] != 0x00;
    EXPECT_EQ(unstuffed, 0);
}

}  // namespace artwork_test
