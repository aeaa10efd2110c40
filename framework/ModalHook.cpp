#include "framework/ModalHook.h"

#include <utility>

namespace {
TModalHook& Hook() {
    static TModalHook hook;
    return hook;
}
} // namespace

TModalHook SetModalHook(TModalHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

bool NotifyModalStarted(TModalRequest& request) {
    if (!Hook()) return false;
    // A copy: the hook may replace itself while it runs.
    TModalHook hook = Hook();
    hook(request);
    return request.answered;
}
