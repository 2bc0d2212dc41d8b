// Incremental reader of one HTTP/1.x response as it arrives on a connection:
// status line, headers, and the body framed by Content-Length, by chunked
// transfer coding, or by the end of the connection. It keeps no more than the
// body limit plus one header block in memory.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace wormgear {

class HttpResponseReader {
 public:
    enum class Progress { NeedMore, Complete, Failed };

    // Longest status line plus header block, and longest chunk-size or trailer line.
    static constexpr qsizetype kMaxHeaderBytes = 64 * 1024;
    static constexpr qsizetype kMaxLineBytes = 8 * 1024;

    explicit HttpResponseReader(qint64 maxBodyBytes);

    // Takes the next bytes received. Complete once the response is whole: for a
    // status outside 200..299 that is as soon as its headers are read, since its
    // body is never used.
    Progress feed(QByteArrayView bytes);
    // The peer closed the connection: completes a body that runs to the end of
    // the connection, fails anything else that is not complete yet.
    Progress finish();

    int status() const { return status_; }
    // The Location header of a redirect, empty when there was none.
    const QByteArray& location() const { return location_; }
    const QByteArray& body() const { return body_; }

 private:
    enum class Stage {
        StatusLine,
        Headers,
        FixedBody,
        BodyToClose,
        ChunkSize,
        ChunkData,
        ChunkEnd,
        Trailers,
        Done,
        Failed
    };

    Progress advance();
    Progress fail();
    Progress progress() const;
    // Takes one line ending in LF (its CR LF or LF removed) off the pending bytes;
    // false when no whole line is there yet.
    bool takeLine(QByteArray& line);
    // Headers stage: counts a header line against kMaxHeaderBytes.
    bool countHeaderBytes(qsizetype lineBytes);
    bool parseStatusLine(const QByteArray& line);
    bool parseHeaderLine(const QByteArray& line);
    bool beginBody();
    bool appendBody(QByteArrayView bytes);

    qint64 maxBodyBytes_;
    Stage stage_ = Stage::StatusLine;
    QByteArray pending_;
    qsizetype readPosition_ = 0;  // bytes of pending_ already taken
    qsizetype headerBytes_ = 0;
    int status_ = 0;
    QByteArray location_;
    qint64 contentLength_ = -1;
    QList<QByteArray> transferCodings_;  // lower case, in the order applied
    qint64 remainingInPart_ = 0;         // of the fixed body or of the current chunk
    QByteArray body_;
};

}  // namespace wormgear
