#include "update/http_client_win.h"

#include "update/dial_in_turn.h"
#include "update/http_transfer.h"
#include "update/tls_connection_win.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr UINT kTransferDone = WM_APP + 1;
constexpr UINT_PTR kDeadlineTimer = 1;
// The worker looks at the deadline and at abandonment this often while it waits on the network.
constexpr ULONGLONG kWaitSliceMs = 50;
constexpr wchar_t kWindowClass[] = L"SlotvaneHttpClient";
// Schannel keeps no time itself: the handshake gets at most this long, and at most half the time
// the transfer has left, so a server that never finishes it fails as TLS, within the deadline.
constexpr ULONGLONG kMaxHandshakeMs = 5000;

// Shared by a client and its worker. The worker keeps it alive after the client has gone, and
// posts its result only while `window` is set: the client clears it when it abandons the
// transfer, under the same lock, so no result ever reaches a destroyed client.
struct TransferState {
    std::mutex mutex;
    HWND window = nullptr;
    WPARAM id = 0;
    std::atomic<bool> abandoned{false};
    HttpTransferResult result;
};

class WsaSession {
public:
    WsaSession() {
        WSADATA data{};
        ok_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    WsaSession(const WsaSession&) = delete;
    WsaSession& operator=(const WsaSession&) = delete;
    ~WsaSession() {
        if (ok_) {
            WSACleanup();
        }
    }
    bool Ok() const { return ok_; }

private:
    bool ok_ = false;
};

class UniqueSocket {
public:
    explicit UniqueSocket(SOCKET socket) : socket_(socket) {}
    UniqueSocket(const UniqueSocket&) = delete;
    UniqueSocket& operator=(const UniqueSocket&) = delete;
    ~UniqueSocket() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
    }
    SOCKET get() const { return socket_; }
    SOCKET release() { return std::exchange(socket_, INVALID_SOCKET); }

private:
    SOCKET socket_;
};

struct AddressListDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

// What a wait waits for. Only a connect looks at the exception set, where a refused connect
// shows: Windows keeps that set ready for an out-of-band byte from the server until it is read as
// such, so a read or write waiting on it would spin until the deadline.
enum class WaitFor { Connect, Read, Write };

// The deadline of the whole transfer and the client's abandonment, as every wait sees them.
class TransferClock {
public:
    TransferClock(const TransferState& state, int timeoutSeconds)
        : state_(state),
          deadline_(timeoutSeconds > 0
                        ? std::optional<ULONGLONG>(GetTickCount64() +
                                                   static_cast<ULONGLONG>(timeoutSeconds) * 1000u)
                        : std::nullopt) {}

    std::optional<ULONGLONG> Deadline() const { return deadline_; }

    // Waits until the socket is ready (or, for a connect, has failed), at most until `until`.
    // 0 when ready, kTimeout when that time passed or the client is gone.
    int Wait(SOCKET socket, WaitFor what, std::optional<ULONGLONG> until) const {
        for (;;) {
            if (state_.abandoned) {
                return http_error::kTimeout;
            }
            ULONGLONG slice = kWaitSliceMs;
            if (until) {
                const ULONGLONG now = GetTickCount64();
                if (now >= *until) {
                    return http_error::kTimeout;
                }
                slice = std::min(slice, *until - now);
            }
            fd_set ready;
            fd_set failed;
            FD_ZERO(&ready);
            FD_ZERO(&failed);
            FD_SET(socket, &ready);
            FD_SET(socket, &failed);
            timeval wait{0, static_cast<long>(slice * 1000)};
            const int count = select(0, what == WaitFor::Read ? &ready : nullptr,
                                     what == WaitFor::Read ? nullptr : &ready,
                                     what == WaitFor::Connect ? &failed : nullptr, &wait);
            if (count == SOCKET_ERROR) {
                return http_error::kConnectionError;
            }
            if (count > 0) {
                return 0;
            }
        }
    }

    // Waits as the transfer's deadline allows.
    int Wait(SOCKET socket, WaitFor what) const { return Wait(socket, what, deadline_); }

private:
    const TransferState& state_;
    std::optional<ULONGLONG> deadline_;
};

class SocketConnection final : public ITlsTransport {
public:
    SocketConnection(SOCKET socket, const TransferClock& clock) : socket_(socket), clock_(clock) {}

    void LimitWaits(std::optional<std::uint64_t> untilMs) override { limit_ = untilMs; }

    int Send(std::string_view bytes) override {
        while (!bytes.empty()) {
            if (const int error = Wait(WaitFor::Write)) {
                return error;
            }
            const int sent = send(socket_.get(), bytes.data(),
                                  static_cast<int>(std::min<std::size_t>(bytes.size(), 65536)), 0);
            if (sent == SOCKET_ERROR) {
                if (WSAGetLastError() == WSAEWOULDBLOCK) {
                    continue;
                }
                return http_error::kConnectionError;
            }
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return 0;
    }

    int Receive(std::string& bytes) override {
        char buffer[16 * 1024];
        for (;;) {
            if (const int error = Wait(WaitFor::Read)) {
                return error;
            }
            const int received = recv(socket_.get(), buffer, sizeof buffer, 0);
            if (received == SOCKET_ERROR) {
                if (WSAGetLastError() == WSAEWOULDBLOCK) {
                    continue;
                }
                return http_error::kConnectionError;
            }
            bytes.assign(buffer, static_cast<std::size_t>(received));
            return 0;
        }
    }

private:
    int Wait(WaitFor what) const {
        std::optional<ULONGLONG> until = clock_.Deadline();
        if (limit_) {
            until = until ? std::min(*until, *limit_) : *limit_;
        }
        return clock_.Wait(socket_.get(), what, until);
    }

    UniqueSocket socket_;
    const TransferClock& clock_;
    std::optional<ULONGLONG> limit_;
};

// Connects to one of a host's addresses at a time, as DialInTurn asks, and keeps the socket that
// connected.
class SocketDialer final : public IAddressDialer {
public:
    SocketDialer(const addrinfo* addresses, const TransferClock& clock) : clock_(clock) {
        for (const addrinfo* address = addresses; address != nullptr; address = address->ai_next) {
            addresses_.push_back(address);
        }
    }

    std::size_t Count() const { return addresses_.size(); }
    SOCKET TakeConnected() { return connected_ ? connected_->release() : INVALID_SOCKET; }

    std::uint64_t NowMs() const override { return GetTickCount64(); }

    int Dial(std::size_t index, std::optional<std::uint64_t> untilMs) override {
        const addrinfo& address = *addresses_.at(index);
        UniqueSocket socket(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
        u_long nonBlocking = 1;
        if (socket.get() == INVALID_SOCKET ||
            ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
            return http_error::kCannotConnect;
        }
        if (connect(socket.get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0 &&
            WSAGetLastError() != WSAEWOULDBLOCK) {
            return http_error::kCannotConnect;
        }
        if (const int waited = clock_.Wait(socket.get(), WaitFor::Connect, untilMs)) {
            return waited;
        }
        int socketError = 0;
        int length = sizeof socketError;
        if (getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&socketError),
                       &length) != 0 ||
            socketError != 0) {
            return http_error::kCannotConnect;
        }
        connected_ = std::make_unique<UniqueSocket>(socket.release());
        return 0;
    }

private:
    const TransferClock& clock_;
    std::vector<const addrinfo*> addresses_;
    std::unique_ptr<UniqueSocket> connected_;
};

class SocketConnector final : public IHttpConnector {
public:
    // `failure` receives what failed when TLS fails, for the log line.
    SocketConnector(const TransferClock& clock, std::string& failure)
        : clock_(clock), failure_(failure) {}

    std::unique_ptr<IHttpConnection> Connect(const HttpEndpoint& endpoint, int& error) override {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        addrinfo* found = nullptr;
        if (getaddrinfo(endpoint.host.c_str(), std::to_string(endpoint.port).c_str(), &hints,
                        &found) != 0) {
            error = http_error::kNameNotResolved;
            return nullptr;
        }
        const std::unique_ptr<addrinfo, AddressListDeleter> addresses(found);
        SocketDialer dialer(found, clock_);
        error = DialInTurn(dialer, dialer.Count(), clock_.Deadline());
        if (error != 0) {
            return nullptr;
        }
        auto connection = std::make_unique<SocketConnection>(dialer.TakeConnected(), clock_);
        if (!endpoint.secure) {
            return connection;
        }
        return StartTls(std::move(connection), endpoint.host, HandshakeDeadline(), error, failure_);
    }

private:
    ULONGLONG HandshakeDeadline() const {
        const ULONGLONG now = GetTickCount64();
        const std::optional<ULONGLONG> deadline = clock_.Deadline();
        return now + (deadline && *deadline > now ? std::min(kMaxHandshakeMs, (*deadline - now) / 2)
                                                  : kMaxHandshakeMs);
    }

    const TransferClock& clock_;
    std::string& failure_;
};

void RunTransfer(std::shared_ptr<TransferState> state, HttpClientSettings settings) noexcept {
    HttpTransferResult result;
    {
        const WsaSession winsock;
        if (winsock.Ok()) {
            const TransferClock clock(*state, settings.timeoutSeconds);
            std::string tlsFailure;
            SocketConnector connector(clock, tlsFailure);
            result = RunGetTransfer(settings, connector);
            if (result.error == http_error::kSecureFailure) {
                result.failure = std::move(tlsFailure);
            }
        } else {
            result.error = http_error::kConnectionError;
        }
    }
    try {
        const std::lock_guard<std::mutex> lock(state->mutex);
        if (state->window != nullptr) {
            state->result = std::move(result);
            PostMessageW(state->window, kTransferDone, state->id, 0);
        }
    } catch (const std::system_error&) {
        // The lock failed: the result cannot reach the client; its deadline timer, when it has one,
        // ends the transfer as a failure.
    }
}

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterClientWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ClientWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    if (!registered) {
        throw std::runtime_error("HTTP client window class not registered");
    }
}

class WindowsHttpClient final : public IHttpClient {
public:
    explicit WindowsHttpClient(WindowsHttpClientOwner::Guard guard) : guard_(std::move(guard)) {
        RegisterClientWindowClass();
        // A message-only window of the creating thread: completions arrive through its queue.
        window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (window_ == nullptr) {
            throw std::runtime_error("HTTP client window not created");
        }
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    WindowsHttpClient(const WindowsHttpClient&) = delete;
    WindowsHttpClient& operator=(const WindowsHttpClient&) = delete;

    ~WindowsHttpClient() override {
        Abandon();
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }

    HttpClientSettings& Settings() override { return settings_; }
    void SetDestination(std::string* body) override { destination_ = body; }
    void SetOnComplete(HttpCompletion completion) override { completion_ = std::move(completion); }
    std::string FailureText() const override { return failure_; }

    void StartGet() override {
        Abandon();
        auto state = std::make_shared<TransferState>();
        state->window = window_;
        state->id = ++lastId_;
        // The worker is detached: the process never waits for it, and a transfer abandoned in
        // a stalled wait ends with the process.
        std::thread(RunTransfer, state, settings_).detach();
        state_ = std::move(state);
        if (settings_.timeoutSeconds > 0) {
            SetTimer(window_, kDeadlineTimer, static_cast<UINT>(settings_.timeoutSeconds) * 1000u,
                     nullptr);
        }
    }

    void OnMessage(UINT message, WPARAM wParam) {
        if (state_ == nullptr) {
            return;
        }
        if (message == kTransferDone && wParam == state_->id) {
            HttpTransferResult result;
            {
                const std::lock_guard<std::mutex> lock(state_->mutex);
                result = std::move(state_->result);
            }
            Finish(std::move(result));
        } else if (message == WM_TIMER && wParam == kDeadlineTimer) {
            // The client keeps the deadline itself: an answer that never comes still ends.
            Finish({http_error::kTimeout, {}});
        }
    }

private:
    void Abandon() {
        KillTimer(window_, kDeadlineTimer);
        if (state_ != nullptr) {
            const std::lock_guard<std::mutex> lock(state_->mutex);
            state_->window = nullptr;
            state_->abandoned = true;
        }
        state_.reset();
    }

    void Finish(HttpTransferResult result) {
        Abandon();
        failure_ = std::move(result.failure);
        if (result.error == 0 && destination_ != nullptr) {
            *destination_ = std::move(result.body);
        }
        // The handler may destroy this client: it runs from copies, and nothing here touches
        // the client afterwards.
        const HttpCompletion completion = completion_;
        const WindowsHttpClientOwner::Guard guard = guard_;
        IHttpClient& self = *this;
        const int error = result.error;
        if (!completion) {
            return;
        }
        const std::function<void()> handler = [&] {
            completion(self, HttpRequestKind::Get, error);
        };
        if (guard) {
            guard(handler);
        } else {
            try {
                handler();
            } catch (const std::exception&) {
                // No error report to show it in: the handler just ends.
            }
        }
    }

    HttpClientSettings settings_;
    std::string* destination_ = nullptr;
    HttpCompletion completion_;
    std::string failure_;
    WindowsHttpClientOwner::Guard guard_;
    HWND window_ = nullptr;
    std::shared_ptr<TransferState> state_;
    WPARAM lastId_ = 0;
};

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kTransferDone || message == WM_TIMER) {
        if (auto* client =
                reinterpret_cast<WindowsHttpClient*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            client->OnMessage(message, wParam);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

WindowsHttpClientOwner::WindowsHttpClientOwner(Guard guard) : guard_(std::move(guard)) {}

std::unique_ptr<IHttpClient> WindowsHttpClientOwner::CreateClient() {
    return std::make_unique<WindowsHttpClient>(guard_);
}
