#include "keeping/KeptList.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace pelorine {
namespace {

constexpr std::string_view kHeader = "Pelorine list state 1";
constexpr std::string_view kWaiting = "waiting";
constexpr std::string_view kConverting = "converting";
constexpr std::array kOutcomes = {JobOutcome::Done, JobOutcome::Failed, JobOutcome::Skipped,
                                  JobOutcome::Stopped};

// The next line of `text` from `at`, without its line feed; nothing at the end.
std::optional<std::string_view> nextLine(std::string_view text, std::size_t& at) {
    if (at >= text.size()) {
        return std::nullopt;
    }
    const std::size_t end = std::min(text.find('\n', at), text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    return line;
}

}  // namespace

std::string encodeListState(const KeptList& list) {
    std::string text = std::string(kHeader) + "\n" + std::to_string(list.jobs.size()) + "\n";
    for (std::size_t i = 0; i < list.jobs.size(); ++i) {
        const JobOutcome outcome = list.outcomeOf(i);
        text += list.running.count(i) != 0       ? std::string(kConverting)
                : outcome == JobOutcome::Pending ? std::string(kWaiting)
                                                 : outcomeText(outcome);
        text += "\n";
    }
    return text;
}

Status decodeListState(std::string_view text, KeptList& list) {
    std::size_t at = 0;
    if (nextLine(text, at) != kHeader) {
        return Status::error("it is not a state file of the list");
    }
    const auto countLine = nextLine(text, at).value_or("");
    std::size_t count = 0;
    const auto [end, error] =
        std::from_chars(countLine.data(), countLine.data() + countLine.size(), count);
    if (error != std::errc() || end != countLine.data() + countLine.size() ||
        count != list.jobs.size()) {
        return Status::error("it is not the state of this list");
    }
    std::vector<JobOutcome> outcomes;
    std::set<std::size_t> running;
    for (std::size_t i = 0; i < count; ++i) {
        const auto word = nextLine(text, at);
        JobOutcome outcome = JobOutcome::Pending;
        if (word == kConverting) {
            running.insert(i);
        } else if (word != kWaiting) {
            const auto known = std::find_if(kOutcomes.begin(), kOutcomes.end(),
                                            [&](JobOutcome o) { return word == outcomeText(o); });
            if (known == kOutcomes.end()) {
                return Status::error("line " + std::to_string(i + 3) + " is no state of a Job");
            }
            outcome = *known;
        }
        outcomes.push_back(outcome);
    }
    if (at < text.size()) {
        return Status::error("there is more after the last Job");
    }
    list.outcomes = std::move(outcomes);
    list.running = running;
    return Status::ok();
}

}  // namespace pelorine
