#include "project/RecordCoding.h"

#include <bit>
#include <cstring>
#include <limits>

namespace pelorine {
namespace {

constexpr std::uint8_t kLongMarker = 0xFF;
constexpr std::uint32_t kWideMarker = 0xFFFE;
constexpr std::uint32_t kLongerMarker = 0xFFFF;

}  // namespace

void RecordWriter::put(std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void RecordWriter::int32(std::int32_t value) {
    if (!failed_) {
        put(static_cast<std::uint32_t>(value), 4);
    }
}

void RecordWriter::real(double value) {
    if (failed_) {
        return;
    }
    const auto bits = std::bit_cast<std::uint64_t>(value);
    put(static_cast<std::uint32_t>(bits), 4);
    put(static_cast<std::uint32_t>(bits >> 32), 4);
}

void RecordWriter::text(std::string_view value) {
    if (failed_) {
        return;
    }
    const std::size_t length = value.size();
    if (length < kLongMarker) {
        put(static_cast<std::uint32_t>(length), 1);
    } else if (length < kWideMarker) {
        put(kLongMarker, 1);
        put(static_cast<std::uint32_t>(length), 2);
    } else if (length <= std::numeric_limits<std::uint32_t>::max()) {
        put(kLongMarker, 1);
        put(kLongerMarker, 2);
        put(static_cast<std::uint32_t>(length), 4);
    } else {
        failed_ = true;
        return;
    }
    bytes_.insert(bytes_.end(), value.begin(), value.end());
}

bool RecordReader::fail(ReadFailure failure) {
    failure_ = failure;
    return false;
}

std::uint32_t RecordReader::peek(std::size_t at, std::size_t size) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(bytes_[at + i]) << (8 * i);
    }
    return value;
}

bool RecordReader::int32(std::int32_t& out) {
    if (remaining() < 4) {
        return fail(ReadFailure::CutShort);
    }
    out = static_cast<std::int32_t>(peek(offset_, 4));
    offset_ += 4;
    return true;
}

bool RecordReader::real(double& out) {
    if (remaining() < 8) {
        return fail(ReadFailure::CutShort);
    }
    const std::uint64_t bits = peek(offset_, 4) | (std::uint64_t{peek(offset_ + 4, 4)} << 32);
    out = std::bit_cast<double>(bits);
    offset_ += 8;
    return true;
}

bool RecordReader::text(std::string_view& out) {
    // The prefix is read in steps, each only once its bytes are known to be there.
    std::size_t at = offset_;
    if (remaining() < 1) {
        return fail(ReadFailure::CutShort);
    }
    std::uint64_t length = peek(at, 1);
    at += 1;
    if (length == kLongMarker) {
        if (bytes_.size() - at < 2) {
            return fail(ReadFailure::CutShort);
        }
        length = peek(at, 2);
        at += 2;
        if (length == kWideMarker) {
            return fail(ReadFailure::WideText);
        }
        if (length == kLongerMarker) {
            if (bytes_.size() - at < 4) {
                return fail(ReadFailure::CutShort);
            }
            length = peek(at, 4);
            at += 4;
        }
    }
    if (bytes_.size() - at < length) {
        return fail(ReadFailure::CutShort);
    }
    out = std::string_view(reinterpret_cast<const char*>(bytes_.data() + at),
                           static_cast<std::size_t>(length));
    offset_ = at + static_cast<std::size_t>(length);
    return true;
}

const char* describe(ReadFailure failure) {
    switch (failure) {
        case ReadFailure::None:
            return "is fine";
        case ReadFailure::CutShort:
            return "ends inside";
        case ReadFailure::WideText:
            return "holds 16-bit text, which is not supported, in";
        case ReadFailure::BadValue:
            return "holds an impossible value in";
        case ReadFailure::Leftovers:
            return "holds unknown bytes after";
    }
    return "cannot be read at";
}

}  // namespace pelorine
