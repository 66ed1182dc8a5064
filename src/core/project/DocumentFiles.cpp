#include "project/DocumentFiles.h"

namespace pelorine {

OpenedDocument openDocument(const std::string& path, const platform::FileSystem& files,
                            const char* kind, const DocumentDecoder& decode) {
    OpenedDocument opened;
    const auto bytes = files.readPrefix(path, kLargestDocument + 1);
    if (!bytes) {
        opened.result = OpenedDocument::Result::CannotRead;
        opened.detail =
            Status::error("Cannot open the " + std::string(kind) + " file \"" + path + "\".");
    } else if (bytes->size() > kLargestDocument) {
        opened.result = OpenedDocument::Result::Damaged;
        opened.detail = Status::error("\"" + path + "\" is too large to be a " + kind + " file.");
    } else if (const Status decoded = decode(*bytes); !decoded) {
        opened.result = OpenedDocument::Result::Damaged;
        opened.detail = Status::error("The " + std::string(kind) + " file \"" + path +
                                      "\" is damaged: " + decoded.message());
    }
    return opened;
}

Status saveEncodedDocument(const std::string& path, platform::FileSystem& files,
                           const std::function<Status(std::vector<std::uint8_t>& bytes)>& encode) {
    std::vector<std::uint8_t> bytes;
    if (const Status status = encode(bytes); !status) {
        return status;
    }
    return files.saveDocument(path, bytes);
}

}  // namespace pelorine
