// The row writers' common part: rows counted, failures turned into one sentence with
// the temporary file removed, and the choice of encoder by the path's extension.
#include "VXLib/VXRowWriter.h"

#include "VXLib/VXExifBlock.h"
#include "VXLib/VXRowEncoders.h"
#include "VXLib/VXUTIL/VXPath.h"

#include <cstring>
#include <exception>

namespace morvessan {

std::int32_t vxRowChannels(VXRowKind kind) {
    switch (kind) {
    case VXRowKind::Grey: return 1;
    case VXRowKind::GreyAlpha: return 2;
    case VXRowKind::Rgb: return 3;
    case VXRowKind::Rgba: return 4;
    default: return 1;
    }
}

const std::vector<std::uint8_t>* vxColourProfile(const VXPictureMetadata* metadata, std::size_t most) {
    return metadata != nullptr && metadata->icc.size() >= 20 && metadata->icc.size() <= most &&
                   std::memcmp(metadata->icc.data() + 16, "RGB ", 4) == 0
               ? &metadata->icc
               : nullptr;
}

const std::vector<std::uint8_t>* vxReadableExif(const VXPictureMetadata* metadata) {
    return metadata != nullptr && !metadata->exif.empty() && vxReadExif(metadata->exif).valid ? &metadata->exif
                                                                                              : nullptr;
}

std::string vxWriterSentence(const std::string& reason) {
    std::string text = reason;
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = char(text[0] - 'a' + 'A');
    return text + ".";
}

std::string vxNotEncoded(const std::string& path) {
    return "Cannot write \"" + path + "\": the picture could not be encoded.";
}

bool VXRowWriter::failed(const std::string& reason) {
    if (!m_failed) {
        m_failed = true;
        // A write the system refused says more than the encoder's failure it caused.
        m_error = m_file.finish() ? reason : vxWriterSentence(m_file.error());
        m_file.fail(m_error);
    }
    return false;
}

bool VXRowWriter::writeRow(const std::uint8_t* row) {
    if (m_failed || m_finished)
        return false;
    if (m_rows >= m_format.height)
        return failed(vxNotEncoded(m_file.path()));
    bool ok = false;
    try {
        ok = encodeRow(row);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok)
        return failed(vxNotEncoded(m_file.path()));
    ++m_rows;
    return true;
}

bool VXRowWriter::finish() {
    if (m_failed)
        return false;
    if (m_finished)
        return true;
    m_finished = true;
    bool ok = m_rows == m_format.height;
    try {
        ok = ok && encodeEnd();
    } catch (const std::exception&) {
        ok = false;
    }
    if (!m_file.finish()) {
        m_failed = true;
        m_error = vxWriterSentence(m_file.error());
        return false;
    }
    if (!ok) {
        m_failed = true;
        m_error = vxNotEncoded(m_file.path());
        m_file.fail(m_error);
        return false;
    }
    return true;
}

std::unique_ptr<VXRowWriter> vxBeginRowWriter(VXFileReplacement& file, const VXRowFormat& format,
                                              const VXPictureWriting& writing, std::string* error) {
    const std::string& path = file.path();
    const std::string extension = extensionOf(path);
    std::string reason;
    std::unique_ptr<VXRowWriter> writer;
    bool started = false;
    const bool sized = format.width > 0 && format.height > 0;
    if (!sized) {
        reason = "There is no picture to write to \"" + path + "\".";
    } else if (file.stream() == nullptr) {
        reason = vxWriterSentence(file.error().empty() ? "cannot write '" + path + "': it is not open" : file.error());
    } else {
        started = true;
        try {
            if (equalsIgnoreCase(extension, ".png"))
                writer = vxPngRowWriter(file, format, writing, reason);
            else if (equalsIgnoreCase(extension, ".jpg") || equalsIgnoreCase(extension, ".jpeg"))
                writer = vxJpegRowWriter(file, format, writing, reason);
            else if (equalsIgnoreCase(extension, ".bmp"))
                writer = vxBitmapRowWriter(file, format, writing.metadata, reason);
            else {
                started = false;
                reason = "Cannot write \"" + path + "\": use a .png, .jpg or .bmp file name.";
            }
        } catch (const std::exception&) {
            writer.reset();
            reason = vxNotEncoded(path);
        }
    }
    if (writer)
        return writer;
    if (started && file.stream() != nullptr && !file.finish())
        reason = vxWriterSentence(file.error());
    file.fail(reason);
    if (error != nullptr)
        *error = reason;
    return nullptr;
}

} // namespace morvessan
