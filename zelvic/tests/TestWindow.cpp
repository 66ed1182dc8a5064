#include "TestWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace zelvic::test {
namespace {

std::uint32_t rgbOf(XImage* image, int x, int y) {
    const unsigned long value = XGetPixel(image, x, y);
    // A 24-bit TrueColor screen: the masks place each channel.
    auto channel = [&](unsigned long mask) {
        int shift = 0;
        while (mask != 0 && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        return static_cast<std::uint32_t>((value >> shift) & 0xFF);
    };
    return channel(image->red_mask) << 16 | channel(image->green_mask) << 8 |
           channel(image->blue_mask);
}

}  // namespace

TestWindow::TestWindow(const std::string& display, int width, int height, std::uint32_t rgb)
    : width_(width), height_(height) {
    // An empty name would mean whatever DISPLAY names.
    display_ = display.empty() ? nullptr : XOpenDisplay(display.c_str());
    if (!display_) {
        return;
    }
    window_ =
        XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, rgb);
    XMapWindow(display_, window_);
    XSync(display_, False);
}

TestWindow::~TestWindow() {
    if (display_) {
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }
}

std::uint32_t TestWindow::pixel(int x, int y) {
    XImage* image = XGetImage(display_, window_, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) {
        return 0xFFFFFFFF;
    }
    const std::uint32_t rgb = rgbOf(image, 0, 0);
    XDestroyImage(image);
    return rgb;
}

int TestWindow::countOther(std::uint32_t rgb) {
    XImage* image = XGetImage(display_, window_, 0, 0, static_cast<unsigned>(width_),
                              static_cast<unsigned>(height_), AllPlanes, ZPixmap);
    if (!image) {
        return -1;
    }
    int count = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            count += rgbOf(image, x, y) != rgb ? 1 : 0;
        }
    }
    XDestroyImage(image);
    return count;
}

void TestWindow::clear() {
    XClearArea(display_, window_, 0, 0, 0, 0, True);
    XSync(display_, False);
}

void TestWindow::resize(int width, int height) {
    width_ = width;
    height_ = height;
    XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display_, False);
}

}  // namespace zelvic::test
