// Writing an animated WebP file frame by frame, for the capture tools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct WebPAnimEncoder;

namespace webp_animation {

struct Settings {
    // Lossless keeps every pixel; otherwise quality (0-100) trades size for
    // fidelity.
    bool lossless = true;
    float quality = 80;
};

// The largest side a WebP canvas can have.
inline constexpr int kMaxSide = 16383;

// The file appears only when Finish succeeds: until then the frames go to a
// temporary file beside it, which is removed if anything fails or the writer
// is destroyed unfinished. So a failed run never leaves a half-written file
// under the name the user gave, nor spoils one that was already there.
class Writer {
  public:
    Writer() = default;
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // Checks at once that the file can be made (its folder exists and takes
    // a new file) so a long capture does not find out at its end.
    bool Open(const std::string& path, int width, int height, Settings settings,
              std::string* error);
    // One frame of width x height pixels, blue-green-red with bytesPerPixel 3,
    // or blue-green-red-unused with 4; top row first, stride bytes between
    // rows (negative for bottom-up memory). startMs is when the frame starts
    // showing, from 0 and never decreasing; it shows until the next starts.
    bool AddFrame(const std::uint8_t* topRow, std::ptrdiff_t stride, int bytesPerPixel, int startMs,
                  std::string* error);
    // Ends the last frame at endMs, encodes the file and puts it in place.
    bool Finish(int endMs, std::string* error);

    int Frames() const { return frames; }

  private:
    void Discard();

    WebPAnimEncoder* encoder = nullptr;
    std::string path;
    std::string temporaryPath;
    int width = 0;
    int height = 0;
    int frames = 0;
    Settings settings;
};

// One frame of an animation as a viewer shows it: the whole canvas, red,
// green, blue, alpha, top row first, and when it starts showing.
struct Frame {
    int startMs = 0;
    std::vector<std::uint8_t> rgba;
};

// Decodes every frame of an animated WebP file, for tests and checks.
bool Read(const std::string& path, int& width, int& height, std::vector<Frame>& frames, int& endMs,
          std::string* error);

}  // namespace webp_animation
