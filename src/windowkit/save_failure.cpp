#include "windowkit/save_failure.h"

#include <QPointer>
#include <QWidget>

#include "resources/texts.h"
#include "windowkit/message_box.h"
#include "windowkit/window_kit.h"

namespace quarnel::ui {

SaveFailureHandler SaveFailureBox(QWidget* parent) {
    return
        [owner = QPointer<QWidget>(parent)](const std::filesystem::path& path, const std::string&) {
            const QString text = Tr(txt::kFileSaveFailed, {QString::fromStdString(path.string())});
            switch (Ask(owner.data(), BoxIcon::Warning, text, kAbort | kRetry | kIgnore)) {
                case kRetry:
                    return SaveChoice::Retry;
                case kIgnore:
                    return SaveChoice::Ignore;
                default:
                    return SaveChoice::Abort;
            }
        };
}

}  // namespace quarnel::ui
