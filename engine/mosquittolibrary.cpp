#include "engine/mosquittolibrary.h"

#include <QLibrary>

namespace {

struct Loaded {
    MosquittoLibrary functions;
    bool ok = false;
    std::string error;
};

template <typename F> bool take(QLibrary& library, const char* name, F& function) {
    function = reinterpret_cast<F>(library.resolve(name));
    return function != nullptr;
}

Loaded load() {
    Loaded out;
    // The library stays loaded until the program ends.
    QLibrary library(QStringLiteral("mosquitto"), 1);
    if (!library.load()) {
        out.error = "the MQTT library cannot be loaded: " + library.errorString().toStdString();
        return out;
    }
    MosquittoLibrary& f = out.functions;
    decltype(&::mosquitto_lib_init) init = nullptr;
    const bool all =
        take(library, "mosquitto_lib_init", init) && take(library, "mosquitto_new", f.create) &&
        take(library, "mosquitto_destroy", f.destroy) &&
        take(library, "mosquitto_int_option", f.intOption) &&
        take(library, "mosquitto_connect_callback_set", f.onConnect) &&
        take(library, "mosquitto_publish_callback_set", f.onPublish) &&
        take(library, "mosquitto_will_set", f.willSet) &&
        take(library, "mosquitto_username_pw_set", f.usernamePassword) &&
        take(library, "mosquitto_connect_async", f.connectAsync) &&
        take(library, "mosquitto_loop", f.loop) && take(library, "mosquitto_publish", f.publish) &&
        take(library, "mosquitto_disconnect", f.disconnect) &&
        take(library, "mosquitto_strerror", f.errorString) &&
        take(library, "mosquitto_connack_string", f.connackString);
    if (!all) {
        out.error = "the MQTT library is too old: " + library.errorString().toStdString();
        return out;
    }
    init();
    out.ok = true;
    return out;
}

} // namespace

const MosquittoLibrary* mosquittoLibrary(std::string* error) {
    static const Loaded loaded = load();
    if (!loaded.ok && error)
        *error = loaded.error;
    return loaded.ok ? &loaded.functions : nullptr;
}
