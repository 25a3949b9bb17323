#include "conversion/RecusaDesligamento.h"

#include <ibase.h>

namespace {

// A confirmation callback that returns non-zero aborts the shutdown.
int ConfirmaDesligamento(const int motivo, const int, void*) {
    return motivo == fb_shutrsn_signal ? 1 : 0;
}

}  // namespace

void RecusaDesligamentoPorSinal() {
    static const bool registrado = [] {
        ISC_STATUS_ARRAY status{};
        fb_shutdown_callback(status, ConfirmaDesligamento, fb_shut_confirmation, nullptr);
        return status[1] == 0;
    }();
    (void)registrado;
}
