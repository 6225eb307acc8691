#include "setdata/SetDataValues.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

}  // namespace

SetDataValueReader::SetDataValueReader(QString text) : text_(std::move(text)) {}

void SetDataValueReader::Rewind() {
    heldQuote_ = false;
    pos_ = 0;
    nextLine_ = 1;
    line_ = 0;
}

void SetDataValueReader::SkipLineEnd() {
    if (pos_ < text_.size() && text_[pos_] == u'\r') ++pos_;
    if (pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
    ++nextLine_;
}

// Consumes up to and including the comma or line end that closes the current value.
void SetDataValueReader::SkipToSeparator() {
    while (pos_ < text_.size()) {
        const QChar c = text_[pos_];
        if (c == u',') {
            ++pos_;
            return;
        }
        if (IsLineEnd(c)) {
            SkipLineEnd();
            return;
        }
        ++pos_;
    }
}

std::optional<QString> SetDataValueReader::Next() {
    line_ = nextLine_;
    heldQuote_ = false;
    if (pos_ >= text_.size()) return std::nullopt;
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;

    if (pos_ < text_.size() && text_[pos_] == u'"') {
        const qsizetype start = pos_ + 1;
        qsizetype end = text_.indexOf(u'"', start);
        if (end == -1) end = text_.size();  // no closing quote: the value runs to the end
        // A quoted value that runs over line ends still counts them.
        for (qsizetype i = start; i < end; ++i)
            if (text_[i] == u'\n' || (text_[i] == u'\r' && (i + 1 >= end || text_[i + 1] != u'\n')))
                ++nextLine_;
        QString value = text_.mid(start, end - start);
        pos_ = std::min(end + 1, text_.size());  // past the closing quote, if there is one
        qsizetype after = pos_;
        while (after < text_.size() && IsBlank(text_[after])) ++after;
        heldQuote_ = after < text_.size() && text_[after] != u',' && !IsLineEnd(text_[after]);
        SkipToSeparator();
        return value;
    }

    const qsizetype start = pos_;
    while (pos_ < text_.size() && text_[pos_] != u',' && !IsLineEnd(text_[pos_])) ++pos_;
    QString value = text_.mid(start, pos_ - start);
    // Written back, the text would be refused; a file holding it is refused the same way.
    heldQuote_ = value.contains(u'"');
    SkipToSeparator();
    return value;
}

SetDataStatus SetDataLineWriter::AddText(QStringView text) {
    if (text.contains(u'"')) return SetDataStatus::QuoteInText;
    if (text.contains(u'\r') || text.contains(u'\n')) return SetDataStatus::LineBreakInText;
    text_ += u'"';
    text_ += text;
    text_ += QStringLiteral("\"\r\n");
    return SetDataStatus::Ok;
}

void SetDataLineWriter::AddNumber(qint16 value) {
    text_ += QString::number(value);
    text_ += QStringLiteral("\r\n");
}

std::optional<QByteArray> SetDataLineWriter::Bytes() const { return EncodeCp932(text_); }

std::optional<QByteArray> EncodeCp932(QStringView text) {
    QStringEncoder encoder("Shift_JIS", QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) return std::nullopt;
    return bytes;
}

std::optional<QString> DecodeCp932(QByteArrayView bytes) {
    QStringDecoder decoder("Shift_JIS", QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) return std::nullopt;
    return text;
}

double TextNumber(QStringView text) {
    std::string number;
    bool point = false;
    for (const QChar c : text) {
        if (IsBlank(c)) continue;
        if (number.empty() && (c == u'-' || c == u'+')) {
            number += char(c.unicode());
        } else if (IsDigit(c)) {
            number += char(c.unicode());
        } else if (c == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    // Without a digit (a lone sign or point) nothing is read and the value stays 0.
    // Not strtod: it follows the process locale, which the environment sets (under
    // de_DE or fr_FR "25.50" would read as 25). The files always use a decimal point.
    const char* first = number.data();
    if (*first == '+') ++first;
    double value = 0.0;
    std::from_chars(first, number.data() + number.size(), value);
    return value;
}

std::optional<qint16> RoundToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(r);
}

SetDataStatus ParseTableValue(QStringView text, qint16& value) {
    qsizetype end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    qsizetype i = 0;
    const bool negative = i < end && text[i] == u'-';
    if (negative) ++i;
    if (i == end) return SetDataStatus::NotANumber;
    qint64 magnitude = 0;
    bool tooLarge = false;
    for (; i < end; ++i) {
        if (!IsDigit(text[i])) return SetDataStatus::NotANumber;
        if (!tooLarge) {
            magnitude = magnitude * 10 + (text[i].unicode() - u'0');
            tooLarge = magnitude > 32768;
        }
    }
    const qint64 v = negative ? -magnitude : magnitude;
    if (tooLarge || v > std::numeric_limits<qint16>::max()) return SetDataStatus::OutOfRange;
    value = qint16(v);
    return SetDataStatus::Ok;
}
