#include "platform/sdl/wayland_probe.h"

#include <dlfcn.h>
#include <poll.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr const char* kClientLibrary = "libwayland-client.so.0";
constexpr int kAnswerMs = 2000;
// Request numbers of wl_display: sync and get_registry.
constexpr std::uint32_t kDisplaySync = 0;
constexpr std::uint32_t kDisplayGetRegistry = 1;

struct Proxy;  // wl_proxy, wl_display, wl_registry and wl_callback alike
struct Interface;

using Connect = Proxy* (*)(const char*);
using Disconnect = void (*)(Proxy*);
using Marshal = Proxy* (*)(Proxy*, std::uint32_t, const Interface*, ...);
using AddListener = int (*)(Proxy*, void (**)(), void*);
using Destroy = void (*)(Proxy*);
using Flush = int (*)(Proxy*);
using GetFd = int (*)(Proxy*);
using Dispatch = int (*)(Proxy*);
using DispatchPending = int (*)(Proxy*);

struct Client {
  Connect connect = nullptr;
  Disconnect disconnect = nullptr;
  Marshal marshal = nullptr;
  AddListener addListener = nullptr;
  Destroy destroy = nullptr;
  Flush flush = nullptr;
  GetFd getFd = nullptr;
  Dispatch dispatch = nullptr;
  DispatchPending dispatchPending = nullptr;
  const Interface* registryInterface = nullptr;
  const Interface* callbackInterface = nullptr;
};

template <typename T>
void Bind(void* library, const char* name, T* function) {
  *function = reinterpret_cast<T>(dlsym(library, name));
}

bool Load(void* library, Client* c) {
  Bind(library, "wl_display_connect", &c->connect);
  Bind(library, "wl_display_disconnect", &c->disconnect);
  Bind(library, "wl_proxy_marshal_constructor", &c->marshal);
  Bind(library, "wl_proxy_add_listener", &c->addListener);
  Bind(library, "wl_proxy_destroy", &c->destroy);
  Bind(library, "wl_display_flush", &c->flush);
  Bind(library, "wl_display_get_fd", &c->getFd);
  Bind(library, "wl_display_dispatch", &c->dispatch);
  Bind(library, "wl_display_dispatch_pending", &c->dispatchPending);
  c->registryInterface = static_cast<const Interface*>(dlsym(library, "wl_registry_interface"));
  c->callbackInterface = static_cast<const Interface*>(dlsym(library, "wl_callback_interface"));
  return c->connect && c->disconnect && c->marshal && c->addListener && c->destroy && c->flush &&
         c->getFd && c->dispatch && c->dispatchPending && c->registryInterface &&
         c->callbackInterface;
}

struct Answer {
  bool seat = false;
  bool done = false;
};

void Global(void* data, Proxy*, std::uint32_t, const char* interface, std::uint32_t) {
  if (interface != nullptr && std::strcmp(interface, "wl_seat") == 0) {
    static_cast<Answer*>(data)->seat = true;
  }
}
void GlobalRemove(void*, Proxy*, std::uint32_t) {}
void SyncDone(void* data, Proxy*, std::uint32_t) {
  static_cast<Answer*>(data)->done = true;
}

// The globals up to the answer of a sync, as wl_display_roundtrip but bounded in time.
bool ReadGlobals(const Client& c, Proxy* display, Answer* answer) {
  Proxy* registry = c.marshal(display, kDisplayGetRegistry, c.registryInterface, nullptr);
  Proxy* callback = c.marshal(display, kDisplaySync, c.callbackInterface, nullptr);
  if (registry == nullptr || callback == nullptr) return false;
  static void (*registryListener[])() = {reinterpret_cast<void (*)()>(Global),
                                         reinterpret_cast<void (*)()>(GlobalRemove)};
  static void (*callbackListener[])() = {reinterpret_cast<void (*)()>(SyncDone)};
  c.addListener(registry, registryListener, answer);
  c.addListener(callback, callbackListener, answer);
  c.flush(display);
  pollfd fd{c.getFd(display), POLLIN, 0};
  while (!answer->done && poll(&fd, 1, kAnswerMs) == 1 && c.dispatch(display) >= 0) {
  }
  c.destroy(callback);
  c.destroy(registry);
  return answer->done;
}

}  // namespace

bool WaylandDisplayUsable(std::string* why) {
  void* library = dlopen(kClientLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    *why = "libwayland-client cannot be loaded";
    return false;
  }
  Client client;
  Proxy* display = Load(library, &client) ? client.connect(nullptr) : nullptr;
  bool usable = false;
  if (display == nullptr) {
    *why = "the compositor cannot be reached";
  } else {
    Answer answer;
    if (!ReadGlobals(client, display, &answer)) {
      *why = "the compositor does not answer";
    } else if (!answer.seat) {
      *why = "the compositor has no input seat";
    } else {
      usable = true;
    }
    client.disconnect(display);
  }
  dlclose(library);
  return usable;
}
