// The line rules of set-data files: one value per line, texts between double quotes,
// numbers as plain decimal text, code page 932 with CR LF. Used by every reader and
// writer of the three variants so that they agree byte for byte.
#pragma once

#include "setdata/SetDataFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

// Reads values back one by one. A value that begins with a double quote runs to the
// next double quote and is taken without the quotes (the rest of its line is passed
// over); an unquoted value ends at a comma or at the end of the line. Blanks before a
// value are skipped. Line ends may be CR LF, LF or CR.
class SetDataValueReader {
public:
    explicit SetDataValueReader(QString text);

    // The next value, or nullopt when the text is used up.
    std::optional<QString> Next();
    // 1-based line on which the last value returned (or asked for) began.
    int Line() const { return line_; }
    // The last value's text held a double quote: a quoted text with more after its
    // closing quote on the same line (it was cut there), or an unquoted one with a quote
    // in it.
    bool LastTextHeldQuote() const { return heldQuote_; }
    // Back to the first value.
    void Rewind();

private:
    void SkipLineEnd();
    void SkipToSeparator();

    QString text_;
    qsizetype pos_ = 0;
    int nextLine_ = 1;
    int line_ = 0;
    bool heldQuote_ = false;
};

// Builds the text of a file line by line, refusing texts the reader could not give back.
class SetDataLineWriter {
public:
    // Appends `"text"` and CR LF. A double quote or a line break in the text refuses it.
    SetDataStatus AddText(QStringView text);
    void AddNumber(qint16 value);
    // The lines in code page 932; nullopt when a character has no code there.
    std::optional<QByteArray> Bytes() const;

private:
    QString text_;
};

// Code page 932 conversions; nullopt when the text or the bytes do not convert exactly.
std::optional<QByteArray> EncodeCp932(QStringView text);
std::optional<QString> DecodeCp932(QByteArrayView bytes);

// Numeric value of a text's leading number: blanks ignored, an optional sign, digits with
// at most one decimal point; reading stops at the first character that cannot continue
// the number. An empty or non-numeric text gives 0 (" 12.5ﾟC" gives 12.5).
double TextNumber(QStringView text);
// Rounded to the nearest integer, halves to even; nullopt when it does not fit 16 bits.
std::optional<qint16> RoundToInt16(double value);

// A table value of a block or all-channel file: optional "-", decimal digits, blanks
// after it allowed. Returns Ok, NotANumber or OutOfRange.
SetDataStatus ParseTableValue(QStringView text, qint16& value);
