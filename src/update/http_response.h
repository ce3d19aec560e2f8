// Reads an HTTP/1.x response from the bytes of its connection: status line, headers and the body
// framed by Content-Length, chunked coding or the end of the connection. A short or cut body,
// a malformed chunk size or an oversized head is a failure, never a success with part of the
// body; so is a body above the caller's cap, unless the caller keeps the cap's worth of it.
#pragma once

#include "update/http_client.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class HttpResponseReader {
public:
    // The status line and the headers together may take this many bytes, and so may trailers.
    static constexpr std::size_t kMaxHeadBytes = 32 * 1024;

    explicit HttpResponseReader(std::size_t maxBodyBytes,
                                HttpBodyOverflow overflow = HttpBodyOverflow::Fail);

    // Takes the next bytes received. Bytes after the end of the body are dropped.
    void Feed(std::string_view bytes);
    // The server closed the connection: a body framed by the close ends here, any other
    // unfinished response is a failure.
    void ConnectionClosed();

    bool HeadDone() const { return status_ != 0; }
    bool Complete() const { return state_ == State::Done; }
    bool Failed() const { return state_ == State::Error; }
    // The completion error code of a failure (update/http_client.h).
    int Error() const { return error_; }

    int Status() const { return status_; }
    const std::optional<std::string>& Location() const { return location_; }
    const std::string& Body() const { return body_; }
    std::string TakeBody() { return std::move(body_); }

private:
    enum class State {
        Head,
        LengthBody,
        UntilClose,
        ChunkSize,
        ChunkData,
        ChunkDataEnd,
        Trailers,
        Done,
        Error
    };

    void Fail(int error);
    void ReadHead(std::string_view& bytes);
    void ParseHead(std::string_view head);
    void StartBody(bool chunked, std::optional<std::size_t> length);
    void ReadBody(std::string_view& bytes);
    // Collects one line of the chunked framing; true once it is whole (without its line break).
    bool CollectLine(std::string_view& bytes, std::size_t limit);
    void ParseChunkSize();

    std::size_t maxBodyBytes_;
    HttpBodyOverflow overflow_;
    State state_ = State::Head;
    int error_ = 0;
    std::string head_;
    std::size_t headScanned_ = 0;
    std::string line_;
    bool collected_ = false; // line_ holds a whole line already handled
    std::size_t trailerBytes_ = 0;
    std::size_t remaining_ = 0;
    bool lastChunkPart_ = false; // the chunk being read reaches the cap: the body ends with it
    int status_ = 0;
    std::optional<std::string> location_;
    std::string body_;
};
