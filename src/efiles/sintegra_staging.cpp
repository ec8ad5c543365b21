#include "efiles/sintegra_staging.h"

// Placeholder while the staging is written: an empty staging, so the window
// and the command line can be built on the interface in the meantime.

namespace livrax::efiles {

SintegraStaging StageSintegra(const SintegraStagingOptions&, const StagingProgress&) {
    return {};
}

ItemSource DatabaseItems() {
    return [](const Row53&) { return std::vector<Item54>{}; };
}

std::vector<Product75> ReadProducts75(const std::vector<Product75>& gathered) {
    return gathered;
}

} // namespace livrax::efiles
