#pragma once
// The encoding shared by project and profile files: little-endian two's
// complement 32-bit integers, little-endian IEEE doubles, and byte strings with
// a length prefix and no terminator. The prefix is one byte for a length below
// 255; otherwise 0xFF and a 16-bit length below 0xFFFE; otherwise 0xFF, the
// 16-bit value 0xFFFF and a 32-bit length. Text is stored as the program holds
// it (UTF-8) and read back byte for byte.
//
// The reader trusts nothing in the bytes: every length is checked against
// what is left before anything is read, and it never allocates: strings come
// back as views into the bytes it was given.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelorine {

class RecordWriter {
public:
    void int32(std::int32_t value);
    void real(double value);
    // A string longer than a 32-bit length can hold cannot be stored: the
    // writer is then marked as failed and writes nothing more.
    void text(std::string_view value);

    bool failed() const { return failed_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    void put(std::uint32_t value, std::size_t size);

    std::vector<std::uint8_t> bytes_;
    bool failed_ = false;
};

// Why a read stopped.
enum class ReadFailure {
    None,
    CutShort,   // the field runs past the end of the bytes
    WideText,   // a string marked as 16-bit text, which this program never writes
    BadValue,   // the field was read but its value cannot be right
    Leftovers,  // bytes follow the last record
};

class RecordReader {
public:
    explicit RecordReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // Each read returns false, consumes nothing and leaves `out` as it was when
    // the field does not fit in what is left (or, for text, carries the 16-bit
    // marker); failure() then says why.
    bool int32(std::int32_t& out);
    bool real(double& out);
    bool text(std::string_view& out);

    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return bytes_.size() - offset_; }
    bool atEnd() const { return offset_ == bytes_.size(); }
    ReadFailure failure() const { return failure_; }

private:
    bool fail(ReadFailure failure);
    // The little-endian unsigned value of `size` bytes at `at`; the caller has
    // checked they are there.
    std::uint32_t peek(std::size_t at, std::size_t size) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    ReadFailure failure_ = ReadFailure::None;
};

// The words for a failure, for messages: "ends inside", "holds 16-bit text in", ...
const char* describe(ReadFailure failure);

}  // namespace pelorine
