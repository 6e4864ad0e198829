#include "tools/webp/webp_animation.h"

#include "tools/webp/WholeFile.h"

#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace webp_animation {

namespace {

void SetError(std::string* error, const std::string& text) {
    if (error != nullptr) {
        *error = text;
    }
}

}  // namespace

Writer::~Writer() {
    Discard();
}

void Writer::Discard() {
    if (encoder != nullptr) {
        WebPAnimEncoderDelete(encoder);
        encoder = nullptr;
    }
    if (!temporaryPath.empty()) {
        std::remove(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

bool Writer::Open(const std::string& target, int pictureWidth, int pictureHeight, Settings chosen,
                  std::string* error) {
    Discard();
    frames = 0;
    if (pictureWidth < 1 || pictureHeight < 1 || pictureWidth > kMaxSide ||
        pictureHeight > kMaxSide) {
        SetError(error, "an animation can be from 1 x 1 to " + std::to_string(kMaxSide) + " x " +
                            std::to_string(kMaxSide) + " pixels, not " +
                            std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight));
        return false;
    }
    std::error_code ec;
    if (target.empty() || std::filesystem::is_directory(target, ec)) {
        SetError(error, target + ": is a directory, not a file name");
        return false;
    }
    // The finished file is renamed into place: that would replace a device,
    // a pipe or a socket of that name rather than write to it.
    const std::filesystem::file_status status = std::filesystem::status(target, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        SetError(error, target + ": exists and is not a regular file");
        return false;
    }
    std::string reason;
    temporaryPath = MakeTemporaryFile(target, reason);
    if (temporaryPath.empty()) {
        SetError(error, "cannot create a file beside " + target + ": " + reason);
        return false;
    }
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) {
        SetError(error, "the WebP library does not match its headers");
        Discard();
        return false;
    }
    options.anim_params.loop_count = 0;  // for ever
    // Every frame covers the whole canvas; key frames only cost size in a
    // short loop that is always played from its start.
    options.kmax = 0;
    encoder = WebPAnimEncoderNew(pictureWidth, pictureHeight, &options);
    if (encoder == nullptr) {
        SetError(error, "out of memory for the animation encoder");
        Discard();
        return false;
    }
    path = target;
    width = pictureWidth;
    height = pictureHeight;
    settings = chosen;
    return true;
}

bool Writer::AddFrame(const std::uint8_t* topRow, std::ptrdiff_t stride, int bytesPerPixel,
                      int startMs, std::string* error) {
    if (encoder == nullptr || topRow == nullptr || (bytesPerPixel != 3 && bytesPerPixel != 4)) {
        SetError(error, "no animation is open, or the frame is not 24 or 32 bits a pixel");
        return false;
    }
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) {
        SetError(error, "the WebP library does not match its headers");
        return false;
    }
    config.lossless = settings.lossless ? 1 : 0;
    config.quality = settings.quality;
    if (settings.lossless) {
        // Captures run hundreds of frames: a quick search costs a few per
        // cent of size and saves most of the time.
        config.quality = 25;
        config.method = 1;
    }
    picture.use_argb = 1;
    picture.width = width;
    picture.height = height;
    if (!WebPPictureAlloc(&picture)) {
        SetError(error, "out of memory for an animation frame");
        return false;
    }
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = topRow + y * stride;
        std::uint32_t* out = picture.argb + static_cast<std::ptrdiff_t>(y) * picture.argb_stride;
        for (int x = 0; x < width; ++x, in += bytesPerPixel) {
            out[x] =
                0xFF000000u | (std::uint32_t{in[2]} << 16) | (std::uint32_t{in[1]} << 8) | in[0];
        }
    }
    const bool added = WebPAnimEncoderAdd(encoder, &picture, startMs, &config) != 0;
    WebPPictureFree(&picture);
    if (!added) {
        SetError(error, std::string("encoding frame ") + std::to_string(frames + 1) + ": " +
                            WebPAnimEncoderGetError(encoder));
        return false;
    }
    ++frames;
    return true;
}

bool Writer::Finish(int endMs, std::string* error) {
    if (encoder == nullptr) {
        SetError(error, "no animation is open");
        return false;
    }
    if (frames == 0) {
        SetError(error, path + ": no frames to write");
        Discard();
        return false;
    }
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder, nullptr, endMs, nullptr) ||
        !WebPAnimEncoderAssemble(encoder, &data)) {
        SetError(error,
                 std::string("assembling the animation: ") + WebPAnimEncoderGetError(encoder));
        WebPDataClear(&data);
        Discard();
        return false;
    }
    const bool written = WriteAll(temporaryPath, data.bytes, data.size, error);
    WebPDataClear(&data);
    if (!written) {
        Discard();
        return false;
    }
    if (!MoveIntoPlace(temporaryPath, path, error)) {
        Discard();
        return false;
    }
    temporaryPath.clear();
    WebPAnimEncoderDelete(encoder);
    encoder = nullptr;
    return true;
}

bool Read(const std::string& path, int& width, int& height, std::vector<Frame>& frames, int& endMs,
          std::string* error) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        SetError(error, path + ": " + std::strerror(errno));
        return false;
    }
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options)) {
        SetError(error, "the WebP library does not match its headers");
        return false;
    }
    options.color_mode = MODE_RGBA;
    const WebPData data{bytes.data(), bytes.size()};
    WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
    if (decoder == nullptr) {
        SetError(error, path + ": not an animated WebP file");
        return false;
    }
    WebPAnimInfo info;
    bool ok = WebPAnimDecoderGetInfo(decoder, &info) != 0;
    width = static_cast<int>(info.canvas_width);
    height = static_cast<int>(info.canvas_height);
    frames.clear();
    int previousEnd = 0;
    while (ok && WebPAnimDecoderHasMoreFrames(decoder)) {
        std::uint8_t* canvas = nullptr;
        int timestamp = 0;  // when the frame ends
        if (!WebPAnimDecoderGetNext(decoder, &canvas, &timestamp)) {
            ok = false;
            break;
        }
        Frame frame;
        frame.startMs = previousEnd;
        frame.rgba.assign(canvas, canvas + static_cast<std::size_t>(width) * height * 4);
        frames.push_back(std::move(frame));
        previousEnd = timestamp;
    }
    endMs = previousEnd;
    WebPAnimDecoderDelete(decoder);
    if (!ok) {
        SetError(error, path + ": a frame does not decode");
    }
    return ok;
}

}  // namespace webp_animation
