#include "authority/windows/form_tcp_ip.h"

namespace quarnel::ui {

FormTCP_IP::FormTCP_IP(HolderContext& ctx, QWidget* parent)
    : QuarnelDialog(ctx, "FormTCP_IP", 0, parent) {}

}  // namespace quarnel::ui
