#pragma once
// Field visitors for the records of project and profile files. A record type
// lists its fields once, in file order, as calls on a visitor; FieldWriter
// encodes them and FieldReader decodes and checks them, so the order lives in
// one place for both directions.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "project/RecordCoding.h"

namespace pelorine {

// Where a record could not be read: the field, and the 1-based record (0 when
// the problem is outside any record).
struct FieldProblem {
    ReadFailure failure = ReadFailure::None;
    const char* field = "";
    std::int32_t record = 0;
    explicit operator bool() const { return failure != ReadFailure::None; }
};

// "the file ends inside the source path of Job 2 of 3." for a problem in a
// record (`recordName` "Job", `count` records in all), "the file ends inside
// its Job count." outside one.
std::string problemText(const FieldProblem& problem, const char* recordName, std::int32_t count);

// The longest time a Job can hold, in seconds (about 31 years): anything
// longer, negative or not a number comes only from a damaged file.
inline constexpr double kLongestSeconds = 1e9;

class FieldWriter {
public:
    explicit FieldWriter(RecordWriter& writer) : writer_(writer) {}
    void text(const char*, const std::string& value) { writer_.text(value); }
    void int32(const char*, const std::int32_t& value, std::int32_t = 0, std::int32_t = 0) {
        writer_.int32(value);
    }
    void seconds(const char*, const double& value) { writer_.real(value); }

private:
    RecordWriter& writer_;
};

// Reads one record's fields. After the first problem it reads nothing more.
// With `store` false the values are checked but texts are not kept, so
// checking a file allocates nothing.
class FieldReader {
public:
    FieldReader(RecordReader& reader, bool store, std::int32_t record)
        : reader_(reader), store_(store), record_(record) {}

    // A text holding a NUL byte is refused: no text of this program has one,
    // and a path with one would name a different file to the system.
    void text(const char* name, std::string& target) {
        std::string_view value;
        if (problem_ || !read(name, reader_.text(value))) {
            return;
        }
        if (value.find('\0') != std::string_view::npos) {
            refuse(name);
        } else if (store_) {
            target.assign(value);
        }
    }

    void int32(const char* name, std::int32_t& target,
               std::int32_t lowest = std::numeric_limits<std::int32_t>::min(),
               std::int32_t highest = std::numeric_limits<std::int32_t>::max()) {
        std::int32_t value = 0;
        if (problem_ || !read(name, reader_.int32(value))) {
            return;
        }
        if (value < lowest || value > highest) {
            refuse(name);
        } else {
            target = value;
        }
    }

    void seconds(const char* name, double& target) {
        double value = 0.0;
        if (problem_ || !read(name, reader_.real(value))) {
            return;
        }
        // Written so that a NaN fails too.
        if (!(value >= 0.0 && value <= kLongestSeconds)) {
            refuse(name);
        } else {
            target = value;
        }
    }

    const FieldProblem& problem() const { return problem_; }

private:
    bool read(const char* name, bool ok) {
        if (!ok) {
            problem_ = FieldProblem{reader_.failure(), name, record_};
        }
        return ok;
    }
    void refuse(const char* name) { problem_ = FieldProblem{ReadFailure::BadValue, name, record_}; }

    RecordReader& reader_;
    bool store_;
    std::int32_t record_;
    FieldProblem problem_;
};

}  // namespace pelorine
