#pragma once

#include <mosquitto.h>

#include <string>

// The MQTT client library's functions, taken from libmosquitto when the first
// publisher needs them rather than loaded with the program: a window that
// never publishes carries neither it nor the TLS libraries it brings along.
struct MosquittoLibrary {
    decltype(&::mosquitto_new) create = nullptr;
    decltype(&::mosquitto_destroy) destroy = nullptr;
    decltype(&::mosquitto_int_option) intOption = nullptr;
    decltype(&::mosquitto_connect_callback_set) onConnect = nullptr;
    decltype(&::mosquitto_publish_callback_set) onPublish = nullptr;
    decltype(&::mosquitto_will_set) willSet = nullptr;
    decltype(&::mosquitto_username_pw_set) usernamePassword = nullptr;
    decltype(&::mosquitto_connect_async) connectAsync = nullptr;
    decltype(&::mosquitto_loop) loop = nullptr;
    decltype(&::mosquitto_publish) publish = nullptr;
    decltype(&::mosquitto_disconnect) disconnect = nullptr;
    decltype(&::mosquitto_strerror) errorString = nullptr;
    decltype(&::mosquitto_connack_string) connackString = nullptr;
};

// Loads the library and initialises it, once for the whole program; nullptr
// when it cannot be loaded, `error` then saying why.
const MosquittoLibrary* mosquittoLibrary(std::string* error = nullptr);
