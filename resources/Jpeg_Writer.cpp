// Jpeg_Writer: libjpeg-turbo compression into a memory buffer.
//
// libjpeg reports fatal errors through error_exit, which must not return.
// A C++ exception may not unwind through the library's C frames, so the
// error handler jumps back to the setjmp point of a small function holding
// only plain values, and the exception is thrown from there.
#include "resources/Jpeg_Writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace {

struct Jpeg_Error_Trap {
  jpeg_error_mgr Manager;             // must be first: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf Jump;                  // where error_exit returns to
  char Message[JMSG_LENGTH_MAX];      // the coder's text for the failure
  jpeg_compress_struct Info;          // the coder; kept here so that nothing on the stack changes across setjmp
  jpeg_decompress_struct Read_Info;   // the decoder, for the same reason
};

void Jpeg_Error_Exit(j_common_ptr info) {
  auto* trap = reinterpret_cast<Jpeg_Error_Trap*>(info->err);
  (*info->err->format_message)(info, trap->Message);
  std::longjmp(trap->Jump, 1);
}

// Warnings (none are expected for compression) are not printed.
void Jpeg_Quiet_Output(j_common_ptr) {}

// Returns true and the malloc'd file in *out / *out_size, or false with the
// coder's message in trap->Message. Only plain values live across setjmp.
bool Jpeg_Compress(const Jpeg_Picture& picture, int quality, Jpeg_Error_Trap* trap, unsigned char** out,
                   unsigned long* out_size) {
  jpeg_compress_struct& info = trap->Info;
  info.err = jpeg_std_error(&trap->Manager);
  trap->Manager.error_exit = Jpeg_Error_Exit;
  trap->Manager.output_message = Jpeg_Quiet_Output;
  if (setjmp(trap->Jump) != 0) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, out, out_size);
  info.image_width = static_cast<JDIMENSION>(picture.Width);
  info.image_height = static_cast<JDIMENSION>(picture.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  const size_t stride = static_cast<size_t>(picture.Width) * 3u;
  while (info.next_scanline < info.image_height) {
    // libjpeg takes non-const rows but only reads them.
    JSAMPROW row = const_cast<JSAMPROW>(picture.Rgb.data() + static_cast<size_t>(info.next_scanline) * stride);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

// Decodes into picture->Rgb, which the caller has emptied.
bool Jpeg_Decompress(const std::vector<uint8_t>& bytes, Jpeg_Error_Trap* trap, Jpeg_Picture* picture) {
  jpeg_decompress_struct& info = trap->Read_Info;
  info.err = jpeg_std_error(&trap->Manager);
  trap->Manager.error_exit = Jpeg_Error_Exit;
  trap->Manager.output_message = Jpeg_Quiet_Output;
  if (setjmp(trap->Jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (static_cast<uint64_t>(info.output_width) * info.output_height > (uint64_t{1} << 26)) {
    std::snprintf(trap->Message, sizeof trap->Message, "picture of %u x %u pixels is too large", info.output_width,
                  info.output_height);
    jpeg_destroy_decompress(&info);
    return false;
  }
  picture->Width = static_cast<int32_t>(info.output_width);
  picture->Height = static_cast<int32_t>(info.output_height);
  picture->Rgb.resize(static_cast<size_t>(info.output_width) * info.output_height * 3u);
  const size_t stride = static_cast<size_t>(info.output_width) * 3u;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = picture->Rgb.data() + static_cast<size_t>(info.output_scanline) * stride;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

} // namespace

std::vector<uint8_t> Jpeg_Encode(const Jpeg_Picture& picture, int quality) {
  if (picture.Width < 1 || picture.Height < 1 || picture.Width > 65500 || picture.Height > 65500) {
    throw std::runtime_error("JPEG: bad picture size " + std::to_string(picture.Width) + " x " +
                             std::to_string(picture.Height));
  }
  if (picture.Rgb.size() < static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height) * 3u) {
    throw std::runtime_error("JPEG: pixel buffer shorter than the picture");
  }
  if (quality < 1 || quality > 100) throw std::runtime_error("JPEG: quality " + std::to_string(quality) + " not in 1..100");

  Jpeg_Error_Trap trap{};
  unsigned char* out = nullptr;
  unsigned long out_size = 0;
  const bool done = Jpeg_Compress(picture, quality, &trap, &out, &out_size);
  std::vector<uint8_t> bytes;
  if (done && out != nullptr) bytes.assign(out, out + out_size);
  std::free(out);
  if (!done) throw std::runtime_error(std::string("JPEG: ") + trap.Message);
  return bytes;
}

bool Jpeg_Decode(const std::vector<uint8_t>& bytes, Jpeg_Picture* picture, std::string* error) {
  *picture = Jpeg_Picture{};
  if (bytes.empty()) {
    if (error != nullptr) *error = "JPEG: no bytes";
    return false;
  }
  Jpeg_Error_Trap trap{};
  if (!Jpeg_Decompress(bytes, &trap, picture)) {
    *picture = Jpeg_Picture{};
    if (error != nullptr) *error = std::string("JPEG: ") + trap.Message;
    return false;
  }
  return true;
}
