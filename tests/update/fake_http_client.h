// An HTTP client owner whose transfers the test completes by hand, and a tick counter the test
// sets.
#pragma once

#include "update/http_client.h"
#include "util/tick_count.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class FakeTickCounter final : public ITickCounter {
public:
    std::uint32_t Milliseconds() const override { return now; }
    std::uint32_t now = 0;
};

// What a client saw: its settings when the GET started, and whether it is still alive.
struct FakeTransfer {
    HttpClientSettings settings;
    bool started = false;
    bool destroyed = false;
    std::string* destination = nullptr;
    HttpCompletion completion;
    std::string failure; // what the client says failed
};

class FakeHttpClient final : public IHttpClient {
public:
    FakeHttpClient(std::shared_ptr<FakeTransfer> transfer, bool failToStart)
        : transfer_(std::move(transfer)), failToStart_(failToStart) {}
    ~FakeHttpClient() override {
        transfer_->destroyed = true;
        transfer_->completion = nullptr;
    }

    HttpClientSettings& Settings() override { return transfer_->settings; }
    void SetDestination(std::string* body) override { transfer_->destination = body; }
    void SetOnComplete(HttpCompletion completion) override {
        transfer_->completion = std::move(completion);
    }
    void StartGet() override {
        if (failToStart_) {
            throw std::runtime_error("cannot start");
        }
        transfer_->started = true;
    }

    std::string FailureText() const override { return transfer_->failure; }

    FakeTransfer& Transfer() { return *transfer_; }

private:
    std::shared_ptr<FakeTransfer> transfer_;
    bool failToStart_;
};

class FakeHttpOwner final : public IHttpClientOwner {
public:
    std::unique_ptr<IHttpClient> CreateClient() override {
        auto transfer = std::make_shared<FakeTransfer>();
        transfers.push_back(transfer);
        auto client = std::make_unique<FakeHttpClient>(transfer, failToStart);
        clients.push_back(client.get());
        return client;
    }

    // Completes the latest transfer as the real client would: the body first, then the one
    // completion. Does nothing for a destroyed client.
    void Complete(HttpRequestKind kind, int error, const std::string& body = {},
                  const std::string& failure = {}) {
        FakeTransfer& transfer = *transfers.back();
        if (transfer.destroyed || !transfer.completion) {
            return;
        }
        transfer.failure = failure;
        if (error == 0 && transfer.destination != nullptr) {
            *transfer.destination = body;
        }
        const HttpCompletion completion = transfer.completion;
        completion(*clients.back(), kind, error);
    }

    FakeTransfer& Last() { return *transfers.back(); }

    bool failToStart = false;
    std::vector<std::shared_ptr<FakeTransfer>> transfers;
    std::vector<FakeHttpClient*> clients;
};
