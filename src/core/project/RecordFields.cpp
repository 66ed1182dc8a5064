#include "project/RecordFields.h"

namespace pelorine {

std::string problemText(const FieldProblem& problem, const char* recordName, std::int32_t count) {
    std::string where = problem.field;
    if (problem.record > 0) {
        where = "the " + where + " of " + recordName + " " + std::to_string(problem.record) +
                " of " + std::to_string(count);
    } else if (problem.failure != ReadFailure::Leftovers) {
        where = "its " + where;
    }
    return std::string("the file ") + describe(problem.failure) + " " + where + ".";
}

}  // namespace pelorine
