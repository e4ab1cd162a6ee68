// SPDX-License-Identifier: GPL-3.0-or-later
// Building the mail that is sent: GMime writes it, attachments are encoded
// while being read from their files.

#include <fcntl.h>
#include <gmime/gmime.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>

#include "mail/mime.h"

namespace quarnel {

namespace {

struct Unref {
    void operator()(gpointer p) const {
        if (p) g_object_unref(p);
    }
};
template <class T>
using GPtr = std::unique_ptr<T, Unref>;

void InitGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

bool AllAscii(const std::string& s) {
    for (const unsigned char c : s) {
        if (c >= 0x80) return false;
    }
    return true;
}

// The body lines as one text part. The program's bodies are in code page
// 1252: a body with such letters is declared 8bit in that charset, since 7bit
// would be false.
GPtr<GMimePart> TextPart(const OutgoingMail& mail, GMimeContentEncoding plainEncoding) {
    std::string text;
    for (const std::string& line : mail.bodyLines) {
        text += line;
        text += '\n';  // the DOS newline filter makes it CR LF
    }
    GPtr<GMimePart> part(g_mime_part_new_with_type("text", "plain"));
    const bool ascii = AllAscii(text);
    if (!ascii) {
        g_mime_object_set_content_type_parameter(GMIME_OBJECT(part.get()), "charset",
                                                 "windows-1252");
    }
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(text.data(), text.size()));
    GPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part.get(), content.get());
    g_mime_part_set_content_encoding(part.get(),
                                     ascii ? plainEncoding : GMIME_CONTENT_ENCODING_8BIT);
    return part;
}

// The domain of the sender's address in ASCII (IDNA for a name in another
// script), or a name that cannot be anybody's when it has none.
std::string MessageIdDomain(const std::string& address) {
    const std::size_t at = address.rfind('@');
    const std::string domain = at == std::string::npos ? std::string() : address.substr(at + 1);
    gchar* ascii = domain.empty() ? nullptr : g_hostname_to_ascii(domain.c_str());
    std::string out = ascii ? ascii : "";
    g_free(ascii);
    const bool fits = !out.empty() && std::all_of(out.begin(), out.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.';
    });
    return fits ? out : "quarnel.invalid";
}

}  // namespace

std::string MessageId(const std::string& fromAddress) {
    std::random_device random;  // the system's generator: nothing to guess from one id
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 8; ++i) {
        const unsigned word = random();
        for (int shift = 28; shift >= 0; shift -= 4)
            id += kHex[(word >> shift) & 0xF];
    }
    return id + '@' + MessageIdDomain(fromAddress);
}

namespace {

GPtr<GMimePart> AttachmentPart(const std::filesystem::path& path) {
    GError* err = nullptr;
    GPtr<GMimeStream> stream(g_mime_stream_fs_open(path.c_str(), O_RDONLY, 0, &err));
    if (!stream) {
        if (err) g_error_free(err);
        throw std::runtime_error(path.string());
    }
    GPtr<GMimePart> part(g_mime_part_new_with_type("application", "octet-stream"));
    GPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part.get(), content.get());
    g_mime_object_set_disposition(GMIME_OBJECT(part.get()), "attachment");
    // Sets Content-Disposition's filename and Content-Type's name (RFC 2231
    // when not ASCII).
    const std::u8string name = path.filename().u8string();
    g_mime_part_set_filename(part.get(), reinterpret_cast<const char*>(name.c_str()));
    g_mime_part_set_content_encoding(part.get(), GMIME_CONTENT_ENCODING_BASE64);
    return part;
}

// Writes `object` with CR LF line ends into `stream`. (The count GMime
// returns is taken before the line ends are widened: the streams count.)
bool Write(GMimeObject* object, GMimeStream* stream) {
    GMimeFormatOptions* options = g_mime_format_options_new();
    g_mime_format_options_set_newline_format(options, GMIME_NEWLINE_FORMAT_DOS);
    const gint64 n = g_mime_object_write_to_stream(object, options, stream);
    g_mime_format_options_free(options);
    return n >= 0 && g_mime_stream_flush(stream) == 0;
}

}  // namespace

std::string BuildMail(const OutgoingMail& mail) {
    InitGMime();
    GPtr<GMimeMessage> message(g_mime_message_new(TRUE));
    g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_FROM,
                               mail.fromName.empty() ? nullptr : mail.fromName.c_str(),
                               mail.fromAddress.c_str());
    for (const std::string& to : mail.to) {
        g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_TO, nullptr, to.c_str());
    }
    g_mime_message_set_subject(message.get(), mail.subject.c_str(), "utf-8");
    GDateTime* now = g_date_time_new_now_local();
    g_mime_message_set_date(message.get(), now);
    g_date_time_unref(now);
    g_mime_message_set_message_id(message.get(), MessageId(mail.fromAddress).c_str());
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "X-Mailer", "QuarnelSys", nullptr);

    GMimeObject* body = nullptr;
    GPtr<GMimeMultipart> mixed;
    GPtr<GMimePart> single;
    if (mail.attachments.empty()) {
        single = TextPart(mail, GMIME_CONTENT_ENCODING_8BIT);
        body = GMIME_OBJECT(single.get());
    } else {
        mixed.reset(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_set_prologue(mixed.get(), "This is a multi-part message in MIME format");
        g_mime_multipart_set_boundary(mixed.get(), nullptr);  // fixed for both passes below
        GPtr<GMimePart> text = TextPart(mail, GMIME_CONTENT_ENCODING_7BIT);
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(text.get()));
        for (const auto& path : mail.attachments) {
            GPtr<GMimePart> part = AttachmentPart(path);
            g_mime_multipart_add(mixed.get(), GMIME_OBJECT(part.get()));
        }
        g_mime_object_set_header(GMIME_OBJECT(mixed.get()), "Content-Transfer-Encoding", "8bit",
                                 nullptr);
        body = GMIME_OBJECT(mixed.get());
    }
    g_mime_object_set_disposition(body, "inline");
    g_mime_message_set_mime_part(message.get(), body);

    // Measured first, then written straight into the result: the encoded
    // attachments are held once, in the string returned.
    GPtr<GMimeStream> counter(g_mime_stream_null_new());
    if (!Write(GMIME_OBJECT(message.get()), counter.get())) throw std::runtime_error("mail");
    const std::size_t size = GMIME_STREAM_NULL(counter.get())->written;
    // One byte more for the NUL that fmemopen puts after what was written.
    std::string out(size + 1, '\0');
    FILE* file = fmemopen(out.data(), out.size(), "w");
    if (!file) throw std::runtime_error("mail");
    std::setvbuf(file, nullptr, _IONBF, 0);
    GPtr<GMimeStream> sink(g_mime_stream_file_new(file));  // owns and closes the FILE
    // Fails, or ends short, when an attachment changed in the meantime.
    if (!Write(GMIME_OBJECT(message.get()), sink.get()) ||
        g_mime_stream_tell(sink.get()) != gint64(size)) {
        throw std::runtime_error("mail");
    }
    sink.reset();
    out.resize(size);
    return out;
}

}  // namespace quarnel
