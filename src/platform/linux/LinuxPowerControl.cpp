#include <systemd/sd-bus.h>

#include <memory>
#include <string>

#include "platform/PowerControl.h"

namespace pelorine::platform {
namespace {

class LoginManagerPowerControl final : public PowerControl {
public:
    Status powerOff() override {
        sd_bus* raw = nullptr;
        if (sd_bus_open_system(&raw) < 0) {
            return Status::error("Cannot reach the system's login manager to power off.");
        }
        std::unique_ptr<sd_bus, sd_bus* (*)(sd_bus*)> bus(raw, sd_bus_flush_close_unref);
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        // "interactive" lets the desktop ask for a password where policy wants one.
        const int result = sd_bus_call_method(
            bus.get(), "org.freedesktop.login1", "/org/freedesktop/login1",
            "org.freedesktop.login1.Manager", "PowerOff", &error, &reply, "b", 1);
        sd_bus_message_unref(reply);
        std::string reason = error.message ? error.message : "";
        sd_bus_error_free(&error);
        if (result < 0) {
            return Status::error("The computer could not be powered off" +
                                 (reason.empty() ? std::string(".") : ": " + reason));
        }
        return Status::ok();
    }
};

}  // namespace

PowerControl& systemPowerControl() {
    static LoginManagerPowerControl control;
    return control;
}

}  // namespace pelorine::platform
