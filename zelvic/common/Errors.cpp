#include "common/Errors.h"

extern "C" {
#include <libavutil/error.h>
}

namespace zelvic {

std::string avErrorText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace zelvic
