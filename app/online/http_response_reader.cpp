// The response reader accepts what real servers send (LF line ends, reason
// phrases, interim 1xx responses, chunk extensions, trailers) and fails on
// anything it cannot frame, so a download is never cut short without notice.
#include "app/online/http_response_reader.h"

#include <algorithm>

namespace wormgear {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Decimal digits only, no sign, at most 18 of them so the value fits.
bool ParseDecimal(const QByteArray& text, qint64& value) {
    if (text.isEmpty() || text.size() > 18) return false;
    value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "1a;name=value" -> 26. At most 15 hex digits so the value fits.
bool ParseChunkSize(const QByteArray& line, qint64& value) {
    const qsizetype extension = line.indexOf(';');
    const QByteArray digits = (extension < 0 ? line : line.left(extension)).trimmed();
    if (digits.isEmpty() || digits.size() > 15) return false;
    value = 0;
    for (char c : digits) {
        const int digit = HexValue(c);
        if (digit < 0) return false;
        value = value * 16 + digit;
    }
    return true;
}

}  // namespace

HttpResponseReader::HttpResponseReader(qint64 maxBodyBytes) : maxBodyBytes_(maxBodyBytes) {}

HttpResponseReader::Progress HttpResponseReader::feed(QByteArrayView bytes) {
    if (stage_ == Stage::Done || stage_ == Stage::Failed) return progress();
    pending_.append(bytes);
    const Progress result = advance();
    pending_.remove(0, readPosition_);
    readPosition_ = 0;
    return result;
}

HttpResponseReader::Progress HttpResponseReader::finish() {
    if (stage_ == Stage::BodyToClose) stage_ = Stage::Done;
    if (stage_ != Stage::Done) stage_ = Stage::Failed;
    return progress();
}

HttpResponseReader::Progress HttpResponseReader::progress() const {
    switch (stage_) {
        case Stage::Done: return Progress::Complete;
        case Stage::Failed: return Progress::Failed;
        default: return Progress::NeedMore;
    }
}

HttpResponseReader::Progress HttpResponseReader::fail() {
    stage_ = Stage::Failed;
    body_.clear();
    return Progress::Failed;
}

bool HttpResponseReader::takeLine(QByteArray& line) {
    const qsizetype end = pending_.indexOf('\n', readPosition_);
    if (end < 0) return false;
    line = pending_.mid(readPosition_, end - readPosition_);
    if (line.endsWith('\r')) line.chop(1);
    readPosition_ = end + 1;
    return true;
}

bool HttpResponseReader::countHeaderBytes(qsizetype lineBytes) {
    headerBytes_ += lineBytes + 2;
    return headerBytes_ <= kMaxHeaderBytes;
}

// "HTTP/1.1 200 OK" or "HTTP/1.0 404" -> the three-digit status.
bool HttpResponseReader::parseStatusLine(const QByteArray& line) {
    if (!line.startsWith("HTTP/")) return false;
    const qsizetype space = line.indexOf(' ');
    if (space < 0 || line.size() < space + 4) return false;
    const QByteArray code = line.mid(space + 1, 3);
    if (!std::all_of(code.begin(), code.end(), IsDigit)) return false;
    if (line.size() > space + 4 && line.at(space + 4) != ' ') return false;
    status_ = code.toInt();
    return status_ >= 100 && status_ <= 599;
}

bool HttpResponseReader::parseHeaderLine(const QByteArray& line) {
    if (line.startsWith(' ') || line.startsWith('\t')) return true;  // obsolete folding: ignored
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0) return false;
    const QByteArray name = line.left(colon).trimmed().toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "content-length") {
        qint64 length = 0;
        if (!ParseDecimal(value, length)) return false;
        if (contentLength_ >= 0 && contentLength_ != length) return false;
        contentLength_ = length;
    } else if (name == "transfer-encoding") {
        for (const QByteArray& coding : value.split(',')) {
            const QByteArray trimmed = coding.trimmed().toLower();
            if (!trimmed.isEmpty()) transferCodings_.append(trimmed);
        }
    } else if (name == "location") {
        location_ = value;
    }
    return true;
}

// After the blank line that ends the headers: decides how the body is framed.
bool HttpResponseReader::beginBody() {
    if (status_ < 200 || status_ > 299 || status_ == 204) {
        stage_ = Stage::Done;
        return true;
    }
    if (!transferCodings_.isEmpty()) {
        // Only identity bodies are asked for; chunked is the one coding a
        // server may add on its own.
        if (transferCodings_ != QList<QByteArray>{"chunked"}) return false;
        stage_ = Stage::ChunkSize;
        return true;
    }
    if (contentLength_ >= 0) {
        if (contentLength_ > maxBodyBytes_) return false;
        remainingInPart_ = contentLength_;
        stage_ = contentLength_ == 0 ? Stage::Done : Stage::FixedBody;
        return true;
    }
    stage_ = Stage::BodyToClose;
    return true;
}

bool HttpResponseReader::appendBody(QByteArrayView bytes) {
    if (body_.size() + bytes.size() > maxBodyBytes_) return false;
    body_.append(bytes);
    return true;
}

HttpResponseReader::Progress HttpResponseReader::advance() {
    for (;;) {
        QByteArray line;
        switch (stage_) {
            case Stage::StatusLine:
            case Stage::Headers:
            case Stage::Trailers:
                if (!takeLine(line)) {
                    return pending_.size() - readPosition_ > kMaxHeaderBytes ? fail() : Progress::NeedMore;
                }
                if (!countHeaderBytes(line.size())) return fail();
                if (stage_ == Stage::StatusLine) {
                    if (!parseStatusLine(line)) return fail();
                    stage_ = Stage::Headers;
                } else if (stage_ == Stage::Trailers) {
                    if (line.isEmpty()) stage_ = Stage::Done;
                } else if (!line.isEmpty()) {
                    if (!parseHeaderLine(line)) return fail();
                } else if (status_ < 200 && status_ != 101) {
                    // An interim response ("100 Continue"): the real one follows.
                    status_ = 0;
                    location_.clear();
                    contentLength_ = -1;
                    transferCodings_.clear();
                    stage_ = Stage::StatusLine;
                } else if (!beginBody()) {
                    return fail();
                }
                break;
            case Stage::FixedBody:
            case Stage::ChunkData: {
                const qint64 available = pending_.size() - readPosition_;
                const qint64 take = std::min(available, remainingInPart_);
                if (!appendBody(QByteArrayView(pending_.constData() + readPosition_, take))) return fail();
                readPosition_ += take;
                remainingInPart_ -= take;
                if (remainingInPart_ > 0) return Progress::NeedMore;
                stage_ = stage_ == Stage::FixedBody ? Stage::Done : Stage::ChunkEnd;
                break;
            }
            case Stage::BodyToClose: {
                if (!appendBody(QByteArrayView(pending_.constData() + readPosition_, pending_.size() - readPosition_)))
                    return fail();
                readPosition_ = pending_.size();
                return Progress::NeedMore;
            }
            case Stage::ChunkSize: {
                if (!takeLine(line)) {
                    return pending_.size() - readPosition_ > kMaxLineBytes ? fail() : Progress::NeedMore;
                }
                qint64 size = 0;
                if (!ParseChunkSize(line, size)) return fail();
                if (size > maxBodyBytes_ - body_.size()) return fail();
                remainingInPart_ = size;
                stage_ = size == 0 ? Stage::Trailers : Stage::ChunkData;
                break;
            }
            case Stage::ChunkEnd:
                if (!takeLine(line)) {
                    return pending_.size() - readPosition_ > 1 ? fail() : Progress::NeedMore;
                }
                if (!line.isEmpty()) return fail();
                stage_ = Stage::ChunkSize;
                break;
            case Stage::Done:
            case Stage::Failed: return progress();
        }
    }
}

}  // namespace wormgear
