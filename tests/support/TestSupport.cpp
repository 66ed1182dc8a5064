#include "support/TestSupport.h"

#include <fstream>
#include <random>
#include <sstream>

#include "support/WindowThread.h"

namespace pelorine::testing {

TempFolder::TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        path_ = base / ("pelorine-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
}

std::string TempFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

Status FolderPaths::ensureChannelFolder(std::string& folder) const {
    folder = channelFolder_.empty() ? folder_ + "run/" : channelFolder_;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return error ? Status::error(error.message()) : Status::ok();
}

void installFakeEngine(const std::string& folder) {
    std::filesystem::copy_file(FAKE_ZELVIC_PATH, folder + "zelvic",
                               std::filesystem::copy_options::overwrite_existing);
}

std::set<std::string> TempFolder::filesBelow() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_)) {
        if (entry.is_regular_file()) {
            names.insert(std::filesystem::relative(entry.path(), path_).string());
        }
    }
    return names;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        // A wait on the scripted window's thread lets its events in, as the
        // real window's event loop does.
        if (WindowThread* window = WindowThread::ofThisThread()) {
            window->pump();
        }
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

}  // namespace pelorine::testing

#include "support/Recorders.h"

namespace pelorine::testing {

std::unique_ptr<Job> plainJob(const std::string& source, const std::string& output,
                              double duration) {
    auto job = std::make_unique<Job>();
    job->sourcePath = source;
    job->outputPath = output;
    job->duration = job->clipEnd = duration;
    job->outputFormat = "mp4";
    job->videoCodec = "MPEG4";
    job->videoSize = "320x240";
    job->audioCodec = "aac";
    job->quantizerMin = "1";
    job->quantizerMax = "31";
    job->split = "Not split";
    job->videoFrameRate = "default";
    job->videoBitrate = "1200";
    job->videoDisabled = "no";
    job->audioSampleRate = "44100";
    job->audioBitrate = "128";
    job->audioChannel = "default";
    job->audioVolume = "default";
    job->audioDisabled = "no";
    return job;
}

}  // namespace pelorine::testing
