#include "profiles/ProfileFile.h"

#include <type_traits>

#include "project/RecordCoding.h"
#include "project/RecordFields.h"

namespace pelorine {
namespace {

// A row's fields in the order of the file; writing and reading walk this one list.
template <typename Fields, typename AnyRow>
void visitRow(Fields& f, AnyRow& row) {
    f.int32("list flag", row.fixedList);
    f.text("option list", row.options);
    f.text("value", row.value);
    std::int32_t kind = static_cast<std::int32_t>(row.kind);
    f.int32("editor kind", kind, static_cast<std::int32_t>(EditorKind::Combo),
            static_cast<std::int32_t>(EditorKind::File));
    if constexpr (!std::is_const_v<AnyRow>) {
        row.kind = static_cast<EditorKind>(kind);
    }
    f.text("name", row.name);
}

// Reads every row into `rows` (only checking when `store` is false).
FieldProblem walkProfile(std::span<const std::uint8_t> bytes, ProfileRows& rows, bool store) {
    RecordReader reader(bytes);
    for (std::size_t index = 0; index < rows.size(); ++index) {
        FieldReader fields(reader, store, static_cast<std::int32_t>(index + 1));
        visitRow(fields, rows[index]);
        if (fields.problem()) {
            return fields.problem();
        }
    }
    if (!reader.atEnd()) {
        return FieldProblem{ReadFailure::Leftovers, "the last row", 0};
    }
    return FieldProblem{};
}

}  // namespace

Status encodeProfile(const ProfileRows& rows, std::vector<std::uint8_t>& bytes) {
    RecordWriter writer;
    FieldWriter fields(writer);
    for (const PropertyItem& row : rows) {
        visitRow(fields, row);
    }
    if (writer.failed()) {
        return Status::error("A text of a row is too long for a profile file.");
    }
    bytes = writer.take();
    return Status::ok();
}

Status decodeProfile(std::span<const std::uint8_t> bytes, ProfileRows& rows) {
    ProfileRows read;
    // The check reads only the numbers into `read`; texts are kept by the second walk.
    if (const FieldProblem problem = walkProfile(bytes, read, false)) {
        return Status::error(
            problemText(problem, "row", static_cast<std::int32_t>(kProfileRowCount)));
    }
    walkProfile(bytes, read, true);
    rows = std::move(read);
    return Status::ok();
}

OpenedProfile openProfile(const std::string& path, const platform::FileSystem& files) {
    OpenedProfile opened;
    static_cast<OpenedDocument&>(opened) =
        openDocument(path, files, "profile",
                     [&opened](auto bytes) { return decodeProfile(bytes, opened.rows); });
    return opened;
}

Status saveProfile(const std::string& path, const ProfileRows& rows, platform::FileSystem& files) {
    return saveEncodedDocument(path, files,
                               [&rows](auto& bytes) { return encodeProfile(rows, bytes); });
}

}  // namespace pelorine
