#include "mail/mime_parse.h"

#include <gmime/gmime.h>

#include <algorithm>
#include <memory>
#include <mutex>

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

/// How many times "multipart/" occurs, case ignored: an upper bound of the
/// nesting GMime's own recursive parser will meet.
std::size_t MultipartMentions(std::string_view raw) {
    static constexpr std::string_view kWord = "multipart/";
    std::size_t n = 0;
    for (std::size_t i = 0; i + kWord.size() <= raw.size(); ++i) {
        if ((raw[i] | 0x20) == 'm' && SameName(raw.substr(i, kWord.size()), kWord)) ++n;
    }
    return n;
}

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

/// The transfer-decoded content of a leaf part.
bool Content(GMimePart* part, std::string& out) {
    GMimeDataWrapper* wrapper = g_mime_part_get_content(part);
    out.clear();
    if (!wrapper) return true;
    GPtr<GMimeStream> stream(g_mime_stream_mem_new());
    if (g_mime_data_wrapper_write_to_stream(wrapper, stream.get()) < 0) return false;
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
    out.assign(reinterpret_cast<const char*>(bytes->data), bytes->len);
    return true;
}

class Walker {
  public:
    explicit Walker(ParsedMail& out) : out_(out) {}

    bool Walk(GMimeObject* object, int depth) {
        if (depth > kMaxMailDepth || ++parts_ > kMaxMailParts) return false;
        if (GMIME_IS_MULTIPART(object)) {
            out_.multipart = true;
            GMimeMultipart* multi = GMIME_MULTIPART(object);
            const int count = g_mime_multipart_get_count(multi);
            for (int i = 0; i < count; ++i) {
                if (!Walk(g_mime_multipart_get_part(multi, i), depth + 1)) return false;
            }
            return true;
        }
        if (GMIME_IS_MESSAGE_PART(object)) {
            // A forwarded mail is kept whole, as a file.
            GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
            if (!inner) return true;
            GPtr<GMimeStream> stream(g_mime_stream_mem_new());
            if (g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, stream.get()) < 0) {
                return false;
            }
            GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
            out_.attachments.push_back(
                {Str(g_mime_object_get_content_disposition_parameter(object, "filename")),
                 std::string(reinterpret_cast<const char*>(bytes->data), bytes->len)});
            return true;
        }
        if (!GMIME_IS_PART(object)) return true;
        GMimePart* part = GMIME_PART(object);
        const char* fileName = g_mime_part_get_filename(part);
        GMimeContentType* type = g_mime_object_get_content_type(object);
        const bool text = !type || g_mime_content_type_is_type(type, "text", "*");
        std::string content;
        if (!Content(part, content)) return false;
        if (fileName || g_mime_part_is_attachment(part) || !text) {
            out_.attachments.push_back({Str(fileName), std::move(content)});
        } else {
            out_.lastTextPart = std::move(content);
        }
        return true;
    }

  private:
    ParsedMail& out_;
    std::size_t parts_ = 0;
};

bool Parse(std::string_view raw, ParsedMail& out, bool withBody) {
    out = ParsedMail{};
    if (raw.size() > kMaxParsedMail || MultipartMentions(raw) > kMaxMailParts) return false;
    InitGMime();
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.data(), raw.size()));
    GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) return false;

    GMimeHeaderList* list = g_mime_object_get_header_list(GMIME_OBJECT(message.get()));
    const int count = list ? g_mime_header_list_get_count(list) : 0;
    if (count < 0 || std::size_t(count) > kMaxMailHeaders) return false;
    for (int i = 0; i < count; ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(list, i);
        out.headers.emplace_back(OneLine(g_mime_header_get_name(header)),
                                 OneLine(g_mime_header_get_value(header)));
    }
    InternetAddressList* from = g_mime_message_get_from(message.get());
    if (from && internet_address_list_length(from) > 0) {
        InternetAddress* address = internet_address_list_get_address(from, 0);
        out.fromName_ = OneLine(internet_address_get_name(address));
        if (out.fromName_.empty() && INTERNET_ADDRESS_IS_MAILBOX(address)) {
            out.fromName_ =
                OneLine(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)));
        }
    }
    out.subject_ = OneLine(g_mime_message_get_subject(message.get()));
    if (!withBody) return true;
    GMimeObject* body = g_mime_message_get_mime_part(message.get());
    if (!body) return true;
    if (!Walker(out).Walk(body, 0)) {
        out = ParsedMail{};
        return false;
    }
    return true;
}

}  // namespace

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
    return Parse(raw, out, true);
}

bool ParseMailHeaders(std::string_view raw, ParsedMail& out) {
    return Parse(raw, out, false);
}

}  // namespace quarnel
