#pragma once
// Points a COM slot of korvio at a device path for a scope: slot n opens
// $KORVIO_COM<n+1> when set. The previous value comes back afterwards.
#include <optional>
#include <string>
#include <utility>

namespace korv::sim {

std::string com_variable(int slot);

class ComPortBinding {
public:
    ComPortBinding(int slot, const std::string& path);
    ~ComPortBinding();
    ComPortBinding(const ComPortBinding&) = delete;
    ComPortBinding& operator=(const ComPortBinding&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A started peer whose slave is a COM slot, stopped and unbound on scope exit.
template <class PeerType>
class PeerOnPort {
public:
    template <class... Args>
    explicit PeerOnPort(int slot, Args&&... args)
        : peer_(std::forward<Args>(args)...), binding_(slot, peer_.slave_path()) {
        peer_.start();
    }
    ~PeerOnPort() { peer_.stop(); }

    PeerType& peer() { return peer_; }
    PeerType* operator->() { return &peer_; }

private:
    PeerType peer_;
    ComPortBinding binding_;
};

}  // namespace korv::sim
