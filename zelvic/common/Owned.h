#pragma once
// Objects of the C libraries the engine uses, owned by a unique_ptr whose
// deleter is the library's own free function, so that no failure path needs
// a cleanup block.

#include <memory>
#include <type_traits>

namespace zelvic {

// Frees with `Free`, which takes the object (sws_freeContext, ifoClose) or
// the address of the pointer to it (av_frame_free, avfilter_graph_free).
template <auto Free>
struct FreeWith {
    template <typename T>
    void operator()(T* object) const {
        if constexpr (std::is_invocable_v<decltype(Free), T**>) {
            Free(&object);
        } else {
            Free(object);
        }
    }
};

template <typename T, auto Free>
using Owned = std::unique_ptr<T, FreeWith<Free>>;

}  // namespace zelvic
