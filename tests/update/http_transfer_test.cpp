#include "update/http_client.h"
#include "update/http_transfer.h"

#include <gtest/gtest.h>

#include <map>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Answers each request from a script keyed by "host:port target"; records what was asked.
class ScriptedConnector final : public IHttpConnector {
public:
    struct Script {
        std::map<std::string, std::string> answers; // "host:port target" -> response bytes
        std::map<std::string, int> connectErrors;   // "host:port" -> error
        std::vector<std::string> requests;          // the request heads sent, in order
        std::vector<bool> secure;                   // whether each connection asked for TLS
    };

    explicit ScriptedConnector(Script& script) : script_(script) {}

    std::unique_ptr<IHttpConnection> Connect(const HttpEndpoint& endpoint, int& error) override {
        const std::string where = endpoint.host + ':' + std::to_string(endpoint.port);
        script_.secure.push_back(endpoint.secure);
        if (const auto failure = script_.connectErrors.find(where);
            failure != script_.connectErrors.end()) {
            error = failure->second;
            return nullptr;
        }
        return std::make_unique<Connection>(script_, where);
    }

private:
    class Connection final : public IHttpConnection {
    public:
        Connection(Script& script, std::string where) : script_(script), where_(std::move(where)) {}
        int Send(std::string_view bytes) override {
            script_.requests.emplace_back(bytes);
            const std::size_t start = bytes.find(' ') + 1;
            const std::string target(bytes.substr(start, bytes.find(' ', start) - start));
            const auto answer = script_.answers.find(where_ + ' ' + target);
            pending_ = answer == script_.answers.end() ? "" : answer->second;
            return 0;
        }
        int Receive(std::string& bytes) override {
            // A few bytes at a time, as a network would give them.
            bytes = pending_.substr(0, 7);
            pending_.erase(0, bytes.size());
            return 0;
        }

    private:
        Script& script_;
        std::string where_;
        std::string pending_;
    };

    Script& script_;
};

std::string Redirect(int status, const std::string& location) {
    return "HTTP/1.1 " + std::to_string(status) + " Moved\r\nLocation: " + location +
           "\r\nContent-Length: 999999\r\n\r\nnever read";
}

const std::string kHello = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello";

HttpTransferResult Get(ScriptedConnector::Script& script, const std::string& url) {
    HttpClientSettings settings;
    settings.url = url;
    settings.maxBodyBytes = 100;
    ScriptedConnector connector(script);
    return RunGetTransfer(settings, connector);
}

TEST(HttpTransferTest, FollowsEachRedirectionStatusToTheFinalBody) {
    for (int status : {301, 302, 303, 307, 308}) {
        SCOPED_TRACE(status);
        ScriptedConnector::Script script;
        script.answers["h:80 /start"] = Redirect(status, "http://other:81/end");
        script.answers["other:81 /end"] = kHello;
        const HttpTransferResult result = Get(script, "http://h/start");
        EXPECT_EQ(result.error, 0);
        EXPECT_EQ(result.body, "hello");
        ASSERT_EQ(script.requests.size(), 2u);
        EXPECT_EQ(script.requests[1].rfind("GET /end HTTP/1.1\r\nHost: other:81\r\n", 0), 0u);
    }
}

TEST(HttpTransferTest, FollowsPlainToSecureButNeverBack) {
    struct Case {
        std::string secureAnswer; // what https://h/secure answers
        int error;
        std::vector<bool> secure;
    };
    const Case cases[] = {
        {kHello, 0, {false, true}},
        {Redirect(302, "/again"), 0, {false, true, true}},
        {Redirect(302, "http://h/plain"), http_error::kRedirectFailed, {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secureAnswer);
        ScriptedConnector::Script script;
        script.answers["h:80 /start"] = Redirect(301, "https://h/secure");
        script.answers["h:443 /secure"] = c.secureAnswer;
        script.answers["h:443 /again"] = kHello;
        script.answers["h:80 /plain"] = kHello;
        const HttpTransferResult result = Get(script, "http://h/start");
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.body, c.error == 0 ? "hello" : "");
        EXPECT_EQ(script.secure, c.secure);
        ASSERT_GE(script.requests.size(), 2u);
        EXPECT_EQ(script.requests[1].rfind("GET /secure HTTP/1.1\r\nHost: h\r\n", 0), 0u);
    }
}

TEST(HttpTransferTest, FollowsFiveChangesOfLocationAndNoMore) {
    struct Case {
        int hops;
        int error;
    };
    for (const Case c : {Case{5, 0}, Case{6, http_error::kRedirectFailed}}) {
        SCOPED_TRACE(c.hops);
        ScriptedConnector::Script script;
        const auto path = [](int hop) { return std::string("/hop") + std::to_string(hop); };
        for (int i = 0; i < c.hops; ++i) {
            script.answers["h:80 " + path(i)] = Redirect(302, path(i + 1));
        }
        script.answers["h:80 " + path(c.hops)] = kHello;
        const HttpTransferResult result = Get(script, "http://h/hop0");
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.body, c.error == 0 ? "hello" : "");
    }
}

TEST(HttpTransferTest, EndsAsAFailureOnWhatItCannotFollow) {
    using namespace http_error;
    struct Case {
        std::string answer;
        int error;
    };
    const Case cases[] = {
        {Redirect(302, "/loop"), kRedirectFailed},
        {Redirect(302, "file:///C:/windows/win.ini"), kUnrecognizedScheme},
        {Redirect(301, "ftp://h/x"), kUnrecognizedScheme},
        {Redirect(307, "\\\\server\\share\\x"), kInvalidUrl},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        ScriptedConnector::Script script;
        script.answers["h:80 /loop"] = c.answer;
        const HttpTransferResult result = Get(script, "http://h/loop");
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.body, "");
    }
}

TEST(HttpTransferTest, AnAnswerWithoutLocationOrWithAnotherStatusIsTheBody) {
    ScriptedConnector::Script script;
    script.answers["h:80 /a"] = "HTTP/1.1 302 Found\r\nContent-Length: 4\r\n\r\npage";
    script.answers["h:80 /b"] =
        "HTTP/1.1 300 Choices\r\nLocation: /c\r\nContent-Length: 4\r\n\r\nlist";
    EXPECT_EQ(Get(script, "http://h/a").body, "page");
    EXPECT_EQ(Get(script, "http://h/b").body, "list");
}

TEST(HttpTransferTest, PassesConnectionAndFramingFailuresOn) {
    ScriptedConnector::Script script;
    script.connectErrors["down:80"] = http_error::kCannotConnect;
    script.answers["h:80 /cut"] = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort";
    EXPECT_EQ(Get(script, "http://down/").error, http_error::kCannotConnect);
    EXPECT_EQ(Get(script, "http://h/cut").error, http_error::kInvalidServerResponse);
    EXPECT_EQ(Get(script, "ftp://h/").error, http_error::kInvalidUrl);
    EXPECT_EQ(script.requests.size(), 1u);
}

TEST(HttpTransferTest, ACallerKeepingTheHeadOfALargeBodyGetsIt) {
    ScriptedConnector::Script script;
    script.answers["h:80 /page"] =
        "HTTP/1.1 404 Not Found\r\nContent-Length: 500\r\n\r\n" + std::string(500, 'x');
    HttpClientSettings settings;
    settings.url = "http://h/page";
    settings.maxBodyBytes = 100;
    ScriptedConnector connector(script);
    EXPECT_EQ(RunGetTransfer(settings, connector).error, http_error::kBodyTooLarge);
    settings.bodyOverflow = HttpBodyOverflow::KeepHead;
    const HttpTransferResult kept = RunGetTransfer(settings, connector);
    EXPECT_EQ(kept.error, 0);
    EXPECT_EQ(kept.body, std::string(100, 'x'));
}

// Whatever raises under the transfer ends it as a failure of its own, never as an exception
// leaving the worker.
TEST(HttpTransferTest, AnExceptionOnTheWayEndsTheTransferAsAFailure) {
    enum class Where { Connect, Send, Receive };
    class RaisingConnector final : public IHttpConnector {
    public:
        explicit RaisingConnector(Where where) : where_(where) {}
        std::unique_ptr<IHttpConnection> Connect(const HttpEndpoint&, int&) override {
            if (where_ == Where::Connect) {
                throw std::bad_alloc();
            }
            return std::make_unique<Connection>(where_);
        }

    private:
        class Connection final : public IHttpConnection {
        public:
            explicit Connection(Where where) : where_(where) {}
            int Send(std::string_view) override {
                if (where_ == Where::Send) {
                    throw std::runtime_error("send");
                }
                return 0;
            }
            int Receive(std::string&) override { throw 42; }

        private:
            Where where_;
        };
        Where where_;
    };
    for (const Where where : {Where::Connect, Where::Send, Where::Receive}) {
        SCOPED_TRACE(static_cast<int>(where));
        HttpClientSettings settings;
        settings.url = "http://h/";
        RaisingConnector connector(where);
        const HttpTransferResult result = RunGetTransfer(settings, connector);
        EXPECT_EQ(result.error, http_error::kInternalError);
        EXPECT_EQ(result.body, "");
    }
}

} // namespace
