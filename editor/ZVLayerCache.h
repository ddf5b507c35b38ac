// One cached paint layer of the design surface: a raster image or a recorded picture.
#pragma once

#include "editor/ZVEditor.h"

#include <QRect>
#include <QSize>

#include <memory>

class QPaintDevice;
class QPainter;

namespace zorvel {

/// A paint layer's cache; Make picks the implementation for a TZVLayerStrategy.
class LayerCache
{
public:
    virtual ~LayerCache() = default;

    /// Starts a new recording of a surface of `size`; paint on the device until End. An opaque
    /// layer starts as a copy of `under` (or white), a transparent one starts empty.
    virtual QPaintDevice* Begin(QSize size, bool opaque, const LayerCache* under) = 0;
    /// Ends the recording started by Begin; every painter on the device must be gone.
    virtual void End() = 0;
    /// Draws the layer onto `painter` (surface pixels), limited to `area`.
    virtual void Draw(QPainter& painter, const QRect& area) const = 0;
    /// Where the layer may hold anything, surface pixels.
    virtual QRect Bounds() const = 0;

    /// An empty cache of the kind `strategy` names; the caller owns it.
    static std::unique_ptr<LayerCache> Make(TZVLayerStrategy strategy);
};

} // namespace zorvel
