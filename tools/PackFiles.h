#pragma once
// Picture and archive files of the pack generator: 24-bit BMP, JPEG (libjpeg) and ZIP (libzip)
// with fixed timestamps, so that a second run writes the same bytes.
#include <jpeglib.h>
#include <zip.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace packfiles {

// Packed RGB rows, top row first.
struct Image {
  int W = 0, H = 0;
  std::vector<uint8_t> Rgb;
  const uint8_t* At(int x, int y) const { return &Rgb[(size_t(y) * W + x) * 3]; }
};

inline void Put16(std::string& s, uint16_t v) { s.push_back(char(v & 255)), s.push_back(char(v >> 8)); }
inline void Put32(std::string& s, uint32_t v) { Put16(s, uint16_t(v & 0xFFFF)), Put16(s, uint16_t(v >> 16)); }

inline std::string EncodeBmp(const Image& im) {
  const uint32_t stride = (uint32_t(im.W) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(im.H);
  std::string s;
  s += "BM";
  Put32(s, 54 + dataSize);
  Put32(s, 0);
  Put32(s, 54);
  Put32(s, 40);
  Put32(s, uint32_t(im.W));
  Put32(s, uint32_t(im.H));  // positive: bottom-up rows
  Put16(s, 1);
  Put16(s, 24);
  Put32(s, 0);
  Put32(s, dataSize);
  Put32(s, 2835);  // 72 dpi
  Put32(s, 2835);
  Put32(s, 0);
  Put32(s, 0);
  for (int y = im.H - 1; y >= 0; --y) {
    for (int x = 0; x < im.W; ++x) {
      const uint8_t* p = im.At(x, y);
      s.push_back(char(p[2])), s.push_back(char(p[1])), s.push_back(char(p[0]));
    }
    s.append(stride - uint32_t(im.W) * 3, '\0');
  }
  return s;
}

inline uint32_t Get32(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
         uint32_t(uint8_t(s[at + 3])) << 24;
}

// Reads back only what EncodeBmp writes.
inline Image DecodeBmp(const std::string& s) {
  if (s.size() < 54 || s.compare(0, 2, "BM") != 0) throw std::runtime_error("not a BMP");
  Image im;
  im.W = int(Get32(s, 18));
  im.H = int(Get32(s, 22));
  const uint32_t off = Get32(s, 10);
  const uint32_t stride = (uint32_t(im.W) * 3 + 3) & ~3u;
  if (s.size() < off + size_t(stride) * im.H) throw std::runtime_error("short BMP");
  im.Rgb.resize(size_t(im.W) * im.H * 3);
  for (int y = 0; y < im.H; ++y) {
    const char* row = s.data() + off + size_t(im.H - 1 - y) * stride;
    for (int x = 0; x < im.W; ++x) {
      uint8_t* p = &im.Rgb[(size_t(y) * im.W + x) * 3];
      p[0] = uint8_t(row[x * 3 + 2]), p[1] = uint8_t(row[x * 3 + 1]), p[2] = uint8_t(row[x * 3]);
    }
  }
  return im;
}

// Full-resolution colour (4:4:4): every 8 x 8 block is coded on its own, so blocks that hold
// the same pixels in both pictures decode to the same pixels.
inline std::string EncodeJpeg(const Image& im, int quality) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buf = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buf, &size);
  c.image_width = JDIMENSION(im.W);
  c.image_height = JDIMENSION(im.H);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  for (int i = 0; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  c.optimize_coding = TRUE;
  c.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(im.At(0, int(c.next_scanline)));
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string out(reinterpret_cast<char*>(buf), size);
  free(buf);
  return out;
}

inline Image DecodeJpeg(const std::string& s) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(s.data()), s.size());
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  Image im;
  im.W = int(d.output_width);
  im.H = int(d.output_height);
  im.Rgb.resize(size_t(im.W) * im.H * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &im.Rgb[size_t(d.output_scanline) * im.W * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return im;
}

// Writes a ZIP of the entries in the given order, each deflated, all dated 2024-05-01 12:00.
inline void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  std::remove(path.c_str());
  int error = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) throw std::runtime_error("cannot create " + path);
  const uint16_t dosTime = uint16_t(12 << 11);
  const uint16_t dosDate = uint16_t(((2024 - 1980) << 9) | (5 << 5) | 1);
  for (const auto& [name, data] : entries) {
    zip_source_t* src = zip_source_buffer(z, data.data(), data.size(), 0);
    zip_int64_t idx = src ? zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
    if (idx < 0) {
      if (src) zip_source_free(src);
      zip_discard(z);
      throw std::runtime_error("cannot add " + name + " to " + path);
    }
    zip_set_file_compression(z, zip_uint64_t(idx), ZIP_CM_DEFLATE, 9);
    zip_file_set_dostime(z, zip_uint64_t(idx), dosTime, dosDate, 0);
  }
  // The buffers stay alive until here: libzip reads them when closing.
  if (zip_close(z) != 0) {
    zip_discard(z);
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace packfiles
