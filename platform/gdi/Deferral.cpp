#include "Deferral.h"

#include <utility>

namespace gdi {

void Deferral::Cover(Layer layer) {
    layers_.clear();
    layers_.push_back(std::move(layer));
}

void Deferral::Over(Layer layer) { layers_.push_back(std::move(layer)); }

void Deferral::Draw(const Rows_target& target) const {
    for (const Layer& layer : layers_) layer(target);
}

void Deferral::Settle() {
    if (layers_.empty()) return;
    // Taken out first: a layer that reads the bitmap through its context must not settle again.
    const std::vector<Layer> layers = std::move(layers_);
    layers_.clear();
    if (!surface_) return;
    const Rows_target target = Rows_Of(*surface_);
    for (const Layer& layer : layers) layer(target);
}

}  // namespace gdi
