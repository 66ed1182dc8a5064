#pragma once
// How the test media are made: ffmpeg arguments, and for media no encoder
// makes (joined recordings, damaged files) a step on the files made before.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Engine.h"

namespace zelvic::test {

struct Recipe {
    Fixture fixture;
    std::vector<std::string> args;  // ffmpeg arguments before the output name; empty: none
    // Runs after ffmpeg (or instead of it): `folder` holds the media made so
    // far, `path` is this fixture's file.
    std::function<void(const fs::path& folder, const fs::path& path)> after = {};
};

// The sources people really have (joined recordings, broadcast clips, phone
// video, damaged files, stills), made from generated media.
std::vector<Recipe> realWorldRecipes(const std::vector<std::string>& quiet);

}  // namespace zelvic::test
