#pragma once
// A window of the test's own on an X display (a virtual X server of the
// test's own), standing in for the converter's preview area: the engine draws
// into it by its id, and the test reads its pixels back.

#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

namespace zelvic::test {

class TestWindow {
public:
    // A mapped width x height window whose background is `rgb` (0xRRGGBB),
    // on `display` (":N"); not valid when there is no such display.
    TestWindow(const std::string& display, int width, int height, std::uint32_t rgb);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    bool valid() const { return display_ != nullptr; }
    std::uint64_t id() const { return window_; }

    // The pixel at x, y as 0xRRGGBB.
    std::uint32_t pixel(int x, int y);
    // How many pixels of the window differ from `rgb`.
    int countOther(std::uint32_t rgb);
    // Paints the background over everything, as an owner repainting its
    // window does, and lets the engine know (an expose).
    void clear();
    void resize(int width, int height);

private:
    Display* display_ = nullptr;
    unsigned long window_ = 0;
    int width_;
    int height_;
};

}  // namespace zelvic::test
