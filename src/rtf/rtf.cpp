#include "rtf.h"

#include <QTextBlock>
#include <QTextCursor>

namespace quarnel {

bool ReadRtf(std::string_view /*rtf*/, QTextDocument& doc, RtfError* error) {
    doc.clear();
    if (error != nullptr) {
        *error = {0, "not written yet"};
    }
    return false;
}

std::string WriteRtf(const QTextDocument& /*doc*/) {
    return {};
}

void PrependParagraphs(QTextDocument& /*doc*/, const QStringList& /*lines*/) {}

bool DropLeadingParagraphs(QTextDocument& /*doc*/, int /*count*/) {
    return false;
}

}  // namespace quarnel
