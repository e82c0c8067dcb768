// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/TextOut.h"

#include <cerrno>
#include <ostream>
#include <unistd.h>

namespace twl {

namespace {

// Past this much a descriptor's text goes out.
constexpr std::size_t BufferSize = 64 * 1024;

} // namespace

TextOut::TextOut(int descriptor, Buffering buffering)
    : m_descriptor(descriptor)
    , m_buffering(buffering)
{}

TextOut::TextOut(std::ostream& stream)
    : m_stream(&stream)
{}

TextOut::~TextOut()
{
    Flush();
}

TextOut& TextOut::operator<<(std::string_view text)
{
    if (m_stream != nullptr) {
        if (m_tied != nullptr) {
            m_tied->Flush();
        }
        m_stream->write(text.data(), static_cast<std::streamsize>(text.size()));
        return *this;
    }
    if (m_buffer.empty() && text.size() >= BufferSize) {
        // A large piece goes out as it is, not copied first.
        if (m_tied != nullptr) {
            m_tied->Flush();
        }
        WriteOut(text);
        return *this;
    }
    m_buffer.append(text);
    bool lineEnd = !text.empty() && text.back() == '\n';
    if (lineEnd && m_buffering == Buffering::Full && m_terminal < 0) {
        m_terminal = ::isatty(m_descriptor) == 1 ? 1 : 0;
    }
    if (m_buffer.size() >= BufferSize ||
        (lineEnd && (m_buffering == Buffering::Immediate || m_terminal == 1))) {
        Flush();
    }
    return *this;
}

bool TextOut::Flush()
{
    if (m_buffer.empty() || m_descriptor < 0) {
        return m_error == 0;
    }
    if (m_tied != nullptr) {
        m_tied->Flush();
    }
    WriteOut(m_buffer);
    m_buffer.clear();
    return m_error == 0;
}

void TextOut::WriteOut(std::string_view text)
{
    std::size_t done = 0;
    while (done < text.size() && m_error == 0) {
        ssize_t written = ::write(m_descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            m_error = written < 0 ? errno : EIO;
            break;
        }
        done += static_cast<std::size_t>(written);
    }
}

} // namespace twl
