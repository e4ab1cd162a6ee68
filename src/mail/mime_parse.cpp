// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/mime_parse.h"

#include <fcntl.h>
#include <gmime/gmime.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>

#include "store/atomic_file.h"

namespace quarnel {

namespace {

struct GObjectDeleter {
    void operator()(gpointer p) const {
        if (p) g_object_unref(p);
    }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectDeleter>;

void InitGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

/// Counts "multipart/", case ignored, in text given a piece at a time: an
/// upper bound of the nesting GMime's own recursive parser will meet.
class MultipartCounter {
  public:
    void Add(std::string_view piece) {
        std::string text = carry_;
        text.append(piece);
        for (std::size_t i = 0; i + kWord.size() <= text.size(); ++i) {
            if ((text[i] | 0x20) == 'm' &&
                SameName(std::string_view(text).substr(i, kWord.size()), kWord)) {
                ++count_;
            }
        }
        // What may begin a word cut by the piece's end.
        const std::size_t keep = std::min(text.size(), kWord.size() - 1);
        carry_ = text.substr(text.size() - keep);
    }
    [[nodiscard]] std::size_t count() const { return count_; }

  private:
    static constexpr std::string_view kWord = "multipart/";
    std::string carry_;
    std::size_t count_ = 0;
};

std::string Str(const char* s) {
    return s ? std::string(s) : std::string();
}

/// A decoded header text on one line: an encoded word may hold line breaks
/// and other controls, which a record line cannot.
std::string OneLine(const char* s) {
    std::string out = Str(s);
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return out;
}

/// Reads the transfer-decoded content of a leaf part, a piece at a time,
/// from wherever the parser left it (the mail's file, or memory).
bool ReadDecoded(GMimePart* part, const ContentSink& sink) {
    GMimeDataWrapper* wrapper = g_mime_part_get_content(part);
    if (!wrapper) return true;
    GMimeStream* raw = g_mime_data_wrapper_get_stream(wrapper);
    if (!raw || g_mime_stream_reset(raw) < 0) return false;
    GPtr<GMimeStream> filtered(g_mime_stream_filter_new(raw));
    const GMimeContentEncoding encoding = g_mime_data_wrapper_get_encoding(wrapper);
    if (encoding == GMIME_CONTENT_ENCODING_BASE64 ||
        encoding == GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE ||
        encoding == GMIME_CONTENT_ENCODING_UUENCODE) {
        GPtr<GMimeFilter> decode(g_mime_filter_basic_new(encoding, FALSE));
        g_mime_stream_filter_add(GMIME_STREAM_FILTER(filtered.get()), decode.get());
    }
    std::string buffer(std::size_t(64) << 10, '\0');
    for (;;) {
        const gssize n = g_mime_stream_read(filtered.get(), buffer.data(), buffer.size());
        if (n < 0) return false;
        if (n == 0) return true;
        if (!sink(std::string_view(buffer.data(), std::size_t(n)))) return false;
    }
}

class Walker {
  public:
    Walker(ParsedMail& out, bool inMemory) : out_(out), inMemory_(inMemory) {}

    MailParseFault Walk(GMimeObject* object, int depth) {
        if (depth > kMaxMailDepth || ++parts_ > kMaxMailParts) return MailParseFault::Structure;
        if (GMIME_IS_MULTIPART(object)) {
            out_.multipart = true;
            GMimeMultipart* multi = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multi);
            for (int i = 0; i < count; ++i) {
                const MailParseFault f = Walk(g_mime_multipart_get_part(multi, i), depth + 1);
                if (f != MailParseFault::None) return f;
            }
            return MailParseFault::None;
        }
        if (GMIME_IS_MESSAGE_PART(object)) {
            // A forwarded mail is kept whole, as a file, out of the text budget.
            GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
            if (!inner) return MailParseFault::None;
            GPtr<GMimeStream> counter(g_mime_stream_null_new());
            if (g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, counter.get()) < 0) {
                return MailParseFault::NotAMail;
            }
            const std::size_t size = GMIME_STREAM_NULL(counter.get())->written;
            if (size > kMaxMailText - text_) return MailParseFault::TextTooLong;
            text_ += size;
            GPtr<GMimeStream> stream(g_mime_stream_mem_new());
            if (g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, stream.get()) < 0) {
                return MailParseFault::NotAMail;
            }
            GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
            out_.attachments.push_back(
                {Str(g_mime_object_get_content_disposition_parameter(object, "filename")),
                 std::string(reinterpret_cast<const char*>(bytes->data), bytes->len),
                 {}});
            return MailParseFault::None;
        }
        if (!GMIME_IS_PART(object)) return MailParseFault::None;
        GMimePart* part = GMIME_PART(object);
        const char* fileName = g_mime_part_get_filename(part);
        GMimeContentType* type = g_mime_object_get_content_type(object);
        const bool text = !type || g_mime_content_type_is_type(type, "text", "*");
        if (fileName || g_mime_part_is_attachment(part) || !text) {
            MailAttachment a{Str(fileName), {}, {}};
            if (inMemory_) {
                if (!ReadDecoded(part, [&](std::string_view p) {
                        a.content.append(p);
                        return true;
                    })) {
                    return MailParseFault::NotAMail;
                }
            } else {
                // The parsed message keeps the part and its file open.
                a.source = [part, keep = out_.message_](const ContentSink& sink) {
                    return ReadDecoded(part, sink);
                };
            }
            out_.attachments.push_back(std::move(a));
            return MailParseFault::None;
        }
        std::string content;
        bool tooLong = false;
        if (!ReadDecoded(part, [&](std::string_view p) {
                if (p.size() > kMaxMailText - text_) {
                    tooLong = true;
                    return false;
                }
                text_ += p.size();
                content.append(p);
                return true;
            })) {
            return tooLong ? MailParseFault::TextTooLong : MailParseFault::NotAMail;
        }
        out_.textParts.push_back(std::move(content));
        return MailParseFault::None;
    }

  private:
    ParsedMail& out_;
    const bool inMemory_;
    std::size_t parts_ = 0;
    std::size_t text_ = 0;  // decoded text bytes so far
};

MailParseFault Parse(GMimeStream* stream, ParsedMail& out, bool withBody, bool inMemory) {
    InitGMime();
    GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream));
    // Part contents stay where they are (the file) instead of being copied.
    g_mime_parser_set_persist_stream(parser.get(), TRUE);
    GMimeMessage* parsed = g_mime_parser_construct_message(parser.get(), nullptr);
    if (!parsed) return MailParseFault::NotAMail;
    out.message_ = std::shared_ptr<void>(parsed, [](void* p) { g_object_unref(p); });
    GMimeMessage* message = parsed;

    GMimeHeaderList* list = g_mime_object_get_header_list(GMIME_OBJECT(message));
    const int count = list ? g_mime_header_list_get_count(list) : 0;
    if (count < 0 || std::size_t(count) > kMaxMailHeaders) return MailParseFault::Structure;
    for (int i = 0; i < count; ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(list, i);
        out.headers.emplace_back(OneLine(g_mime_header_get_name(header)),
                                 OneLine(g_mime_header_get_value(header)));
    }
    InternetAddressList* from = g_mime_message_get_from(message);
    if (from && internet_address_list_length(from) > 0) {
        InternetAddress* address = internet_address_list_get_address(from, 0);
        out.fromName_ = OneLine(internet_address_get_name(address));
        if (out.fromName_.empty() && INTERNET_ADDRESS_IS_MAILBOX(address)) {
            out.fromName_ =
                OneLine(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
        }
    }
    out.subject_ = OneLine(g_mime_message_get_subject(message));
    if (!withBody) return MailParseFault::None;
    GMimeObject* body = g_mime_message_get_mime_part(message);
    if (!body) return MailParseFault::None;
    return Walker(out, inMemory).Walk(body, 0);
}

MailParseFault ParseMemory(std::string_view raw, ParsedMail& out, bool withBody) {
    out = ParsedMail{};
    MultipartCounter multiparts;
    multiparts.Add(raw);
    if (raw.size() > kMaxParsedMail || multiparts.count() > kMaxMailParts) {
        return MailParseFault::Structure;
    }
    InitGMime();
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.data(), raw.size()));
    const MailParseFault fault = Parse(stream.get(), out, withBody, true);
    if (fault != MailParseFault::None) out = ParsedMail{};
    return fault;
}

}  // namespace

bool MailAttachment::WriteTo(const ContentSink& sink) const {
    return source ? source(sink) : sink(content);
}

std::vector<std::string> ParsedMail::Values(std::string_view name) const {
    std::vector<std::string> values;
    for (const auto& [n, v] : headers) {
        if (SameName(n, name)) values.push_back(v);
    }
    return values;
}

std::string ParsedMail::Value(std::string_view name) const {
    for (const auto& [n, v] : headers) {
        if (SameName(n, name)) return v;
    }
    return {};
}

bool ParseMail(std::string_view raw, ParsedMail& out) {
    return ParseMemory(raw, out, true) == MailParseFault::None;
}

bool ParseMailHeaders(std::string_view raw, ParsedMail& out) {
    return ParseMemory(raw, out, false) == MailParseFault::None;
}

MailParseFault ParseMailFile(const std::filesystem::path& file, ParsedMail& out) {
    out = ParsedMail{};
    {
        // Thousands of nested multiparts are refused before GMime recurses into them.
        StreamingFileReader reader(file);
        if (!reader.ok()) return MailParseFault::NotAMail;
        MultipartCounter multiparts;
        std::string buffer(std::size_t(1) << 20, '\0');
        for (;;) {
            const std::optional<std::size_t> n = reader.Read(buffer.data(), buffer.size());
            if (!n) return MailParseFault::NotAMail;
            if (*n == 0) break;
            multiparts.Add(std::string_view(buffer.data(), *n));
            if (multiparts.count() > kMaxMailParts) return MailParseFault::Structure;
        }
    }
    InitGMime();
    GError* error = nullptr;
    GPtr<GMimeStream> stream(g_mime_stream_fs_open(file.c_str(), O_RDONLY, 0, &error));
    if (!stream) {
        if (error) g_error_free(error);
        return MailParseFault::NotAMail;
    }
    const MailParseFault fault = Parse(stream.get(), out, true, false);
    if (fault != MailParseFault::None) out = ParsedMail{};
    return fault;
}

}  // namespace quarnel
