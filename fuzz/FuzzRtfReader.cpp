// Feeds arbitrary bytes to the RTF reader. Beyond what the sanitizers catch (and a hang, which
// libFuzzer reports as a timeout) it checks what the reader promises for every input:
// - every run holds text: valid UTF-16, no control character but the tab;
// - neighbouring runs differ in format, and font sizes stay within their range;
// - the result is no bigger than the input: a paragraph break takes at least two bytes
//   ("\" and a line end), a character of text at least one;
// - plain printable ASCII without "\", "{" and "}" comes out as it is.
// The test suite runs this entry over the seed corpus as well.

#include "document/RtfReader.h"

#include <QByteArrayView>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_rtf_reader: %s\n", what);
        std::abort();
    }
}

void checkRun(const RtfRun& run)
{
    require(!run.text.isEmpty(), "empty run");
    require(QStringView(run.text).isValidUtf16(), "text is not valid UTF-16");
    require(std::all_of(run.text.begin(), run.text.end(),
                        [](QChar c) { return c.unicode() >= 0x20 || c == u'\t'; }),
            "control character in the text");
    require(run.format.halfPoints >= RtfCharFormat::MinHalfPoints &&
                run.format.halfPoints <= RtfCharFormat::MaxHalfPoints,
            "font size out of range");
}

bool isPlainText(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}'; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView rtf(data, static_cast<qsizetype>(size));
    const RtfDocument document = RtfReader::parse(rtf);

    require(document.paragraphs.size() <= size / 2 + 1, "more paragraphs than the input can hold");
    std::size_t units = 0;
    for (const RtfParagraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            checkRun(paragraph.runs[i]);
            require(i == 0 || !(paragraph.runs[i].format == paragraph.runs[i - 1].format),
                    "neighbouring runs share a format");
            units += static_cast<std::size_t>(paragraph.runs[i].text.size());
        }
    }
    require(units <= size, "more text than input");

    if (size > 0 && isPlainText(rtf)) {
        require(document.paragraphs.size() == 1 && document.paragraphs[0].runs.size() == 1 &&
                    document.paragraphs[0].runs[0].text == QLatin1StringView(rtf),
                "plain text changed");
    }
    return 0;
}
