#include "update/http_response.h"

#include "update/http_client.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kMaxChunkLineBytes = 1024;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c)) {
        return c - '0';
    }
    const int lower = std::tolower(static_cast<unsigned char>(c));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The lines of a head, without their line breaks (CR LF or a bare LF).
std::vector<std::string_view> SplitLines(std::string_view head) {
    std::vector<std::string_view> lines;
    while (!head.empty()) {
        const std::size_t end = head.find('\n');
        std::string_view line = head.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        head.remove_prefix(end == std::string_view::npos ? head.size() : end + 1);
    }
    return lines;
}

// "HTTP/1.x NNN" with an optional reason phrase; 0 when the line is no status line.
int ParseStatusLine(std::string_view line) {
    if (line.size() < 12 || line.substr(0, 7) != "HTTP/1." || !IsDigit(line[7]) || line[8] != ' ' ||
        !IsDigit(line[9]) || !IsDigit(line[10]) || !IsDigit(line[11]) ||
        (line.size() > 12 && line[12] != ' ')) {
        return 0;
    }
    const int status = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    return status >= 100 ? status : 0;
}

// A Content-Length value: decimal digits only, no sign, at most 18 of them.
std::optional<std::size_t> ParseLength(std::string_view value) {
    if (value.empty() || value.size() > 18 || !std::all_of(value.begin(), value.end(), IsDigit)) {
        return std::nullopt;
    }
    std::size_t length = 0;
    for (char c : value) {
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    return length;
}

// Whether the last coding of a Transfer-Encoding list is "chunked".
bool EndsWithChunked(std::string_view value) {
    const std::size_t comma = value.rfind(',');
    const std::string_view last = comma == std::string_view::npos ? value : value.substr(comma + 1);
    return EqualsIgnoringCase(Trim(last), "chunked");
}

} // namespace

HttpResponseReader::HttpResponseReader(std::size_t maxBodyBytes, HttpBodyOverflow overflow)
    : maxBodyBytes_(maxBodyBytes), overflow_(overflow) {}

void HttpResponseReader::Fail(int error) {
    state_ = State::Error;
    error_ = error;
    body_.clear();
}

void HttpResponseReader::Feed(std::string_view bytes) {
    while (!bytes.empty() && state_ != State::Done && state_ != State::Error) {
        if (state_ == State::Head) {
            ReadHead(bytes);
        } else {
            ReadBody(bytes);
        }
    }
}

void HttpResponseReader::ConnectionClosed() {
    if (state_ == State::UntilClose) {
        state_ = State::Done;
    } else if (state_ != State::Done && state_ != State::Error) {
        Fail(http_error::kInvalidServerResponse);
    }
}

void HttpResponseReader::ReadHead(std::string_view& bytes) {
    const std::size_t before = head_.size();
    const std::size_t taken = std::min(kMaxHeadBytes + 1 - before, bytes.size());
    head_.append(bytes.substr(0, taken));
    // The head ends at the first empty line; the search resumes where the last one stopped.
    std::size_t end = std::string::npos;
    for (std::size_t i = head_.find('\n', headScanned_ > 2 ? headScanned_ - 2 : 0);
         i != std::string::npos; i = head_.find('\n', i + 1)) {
        if (i + 1 < head_.size() && head_[i + 1] == '\n') {
            end = i + 2;
            break;
        }
        if (i + 2 < head_.size() && head_[i + 1] == '\r' && head_[i + 2] == '\n') {
            end = i + 3;
            break;
        }
    }
    if (end == std::string::npos || end > kMaxHeadBytes) {
        bytes.remove_prefix(taken);
        headScanned_ = head_.size();
        if (head_.size() > kMaxHeadBytes) {
            Fail(http_error::kHeaderSizeOverflow);
        }
        return;
    }
    // The bytes of this call after the empty line belong to the body, or to the next head after
    // an interim answer.
    bytes.remove_prefix(end - before);
    head_.resize(end);
    const std::string head = std::move(head_);
    head_.clear();
    headScanned_ = 0;
    ParseHead(head);
}

void HttpResponseReader::ParseHead(std::string_view head) {
    const std::vector<std::string_view> lines = SplitLines(head);
    const int status = lines.empty() ? 0 : ParseStatusLine(lines[0]);
    if (status == 0 || status == 101) {
        Fail(http_error::kInvalidServerResponse);
        return;
    }
    std::optional<std::size_t> length;
    bool lengthMalformed = false;
    bool transferCoded = false;
    bool chunked = false;
    std::optional<std::string> location;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) {
            break;
        }
        const std::size_t colon = line.find(':');
        if (line[0] == ' ' || line[0] == '\t' || colon == std::string_view::npos || colon == 0 ||
            Trim(line.substr(0, colon)).size() != colon) {
            Fail(http_error::kInvalidServerResponse);
            return;
        }
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trim(line.substr(colon + 1));
        if (EqualsIgnoringCase(name, "Content-Length")) {
            // A value that is no length, or two that disagree, leave the body's end unknown.
            const std::optional<std::size_t> parsed = ParseLength(value);
            if (!parsed || (length && *length != *parsed)) {
                lengthMalformed = true;
            }
            length = parsed;
        } else if (EqualsIgnoringCase(name, "Transfer-Encoding")) {
            transferCoded = true;
            chunked = EndsWithChunked(value);
        } else if (EqualsIgnoringCase(name, "Location") && !location) {
            location = std::string(value);
        }
    }
    // A transfer coding frames the body by itself (chunked last) or by the close, whatever a
    // Content-Length says beside it.
    if (transferCoded) {
        length.reset();
    } else if (lengthMalformed) {
        Fail(http_error::kInvalidServerResponse);
        return;
    }
    if (status < 200) {
        return; // an interim answer: the real one follows
    }
    status_ = status;
    location_ = std::move(location);
    StartBody(chunked, length);
}

void HttpResponseReader::StartBody(bool chunked, std::optional<std::size_t> length) {
    if (status_ == 204 || status_ == 304) {
        state_ = State::Done;
    } else if (chunked) {
        state_ = State::ChunkSize;
    } else if (length) {
        if (*length > maxBodyBytes_ && overflow_ == HttpBodyOverflow::Fail) {
            Fail(http_error::kBodyTooLarge);
        } else {
            remaining_ = std::min(*length, maxBodyBytes_);
            state_ = remaining_ == 0 ? State::Done : State::LengthBody;
        }
    } else {
        state_ = State::UntilClose;
    }
}

void HttpResponseReader::ReadBody(std::string_view& bytes) {
    switch (state_) {
    case State::LengthBody:
    case State::ChunkData: {
        const std::size_t taken = std::min(remaining_, bytes.size());
        body_.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        remaining_ -= taken;
        if (remaining_ == 0) {
            state_ =
                state_ == State::LengthBody || lastChunkPart_ ? State::Done : State::ChunkDataEnd;
        }
        break;
    }
    case State::UntilClose: {
        const std::size_t room = maxBodyBytes_ - body_.size();
        if (bytes.size() > room && overflow_ == HttpBodyOverflow::Fail) {
            Fail(http_error::kBodyTooLarge);
            break;
        }
        body_.append(bytes.substr(0, room));
        bytes = {};
        if (body_.size() == maxBodyBytes_ && overflow_ == HttpBodyOverflow::KeepHead) {
            state_ = State::Done;
        }
        break;
    }
    case State::ChunkSize:
        if (CollectLine(bytes, kMaxChunkLineBytes)) {
            ParseChunkSize();
        }
        break;
    case State::ChunkDataEnd:
        if (CollectLine(bytes, kMaxChunkLineBytes)) {
            if (line_.empty()) {
                state_ = State::ChunkSize;
            } else {
                Fail(http_error::kInvalidServerResponse);
            }
        }
        break;
    case State::Trailers:
        if (CollectLine(bytes, kMaxHeadBytes)) {
            trailerBytes_ += line_.size() + 2;
            if (line_.empty()) {
                state_ = State::Done;
            } else if (trailerBytes_ > kMaxHeadBytes) {
                Fail(http_error::kHeaderSizeOverflow);
            }
        }
        break;
    default:
        break;
    }
}

bool HttpResponseReader::CollectLine(std::string_view& bytes, std::size_t limit) {
    if (collected_) {
        line_.clear();
        collected_ = false;
    }
    const std::size_t end = bytes.find('\n');
    const std::size_t taken = end == std::string_view::npos ? bytes.size() : end;
    line_.append(bytes.substr(0, taken));
    bytes.remove_prefix(end == std::string_view::npos ? taken : taken + 1);
    if (line_.size() > limit) {
        Fail(http_error::kInvalidServerResponse);
        return false;
    }
    if (end == std::string_view::npos) {
        return false;
    }
    if (!line_.empty() && line_.back() == '\r') {
        line_.pop_back();
    }
    collected_ = true;
    return true;
}

void HttpResponseReader::ParseChunkSize() {
    // Hexadecimal digits, then nothing or a ";" extension; anything else is no chunk size.
    // A size past what std::size_t holds stays at its largest value: it is above any cap.
    constexpr std::size_t kLargest = std::numeric_limits<std::size_t>::max();
    std::size_t position = 0;
    std::size_t size = 0;
    while (position < line_.size() && HexValue(line_[position]) >= 0) {
        const auto digit = static_cast<std::size_t>(HexValue(line_[position]));
        size = size > (kLargest - digit) / 16 ? kLargest : size * 16 + digit;
        ++position;
        if (size > maxBodyBytes_ && overflow_ == HttpBodyOverflow::Fail) {
            Fail(http_error::kBodyTooLarge);
            return;
        }
    }
    const std::string_view rest = Trim(std::string_view(line_).substr(position));
    if (position == 0 || (!rest.empty() && rest[0] != ';')) {
        Fail(http_error::kInvalidServerResponse);
        return;
    }
    const std::size_t room = maxBodyBytes_ - body_.size();
    if (size == 0) {
        state_ = State::Trailers;
    } else if (size <= room) {
        remaining_ = size;
        state_ = State::ChunkData;
    } else if (overflow_ == HttpBodyOverflow::Fail) {
        Fail(http_error::kBodyTooLarge);
    } else {
        remaining_ = room;
        lastChunkPart_ = true;
        state_ = room == 0 ? State::Done : State::ChunkData;
    }
}
