// Where the module edges of a bar code fall: model units, or whole device dots on raster outputs.
#pragma once

#include "foundation/ZVCanvas.h"
#include "foundation/ZVTypes.h"

#include <cstdint>

namespace zorvel {

/// Positions along a symbol in steps: model units, or device dots when the canvas asks for
/// whole-dot modules. Then the anchor is snapped to a dot, the narrow module is a whole number of
/// dots (at least one) and each width class keeps its ratio to it as closely as whole dots allow,
/// so that every edge mapped back to model units lands on a dot.
class TZVModuleGrid
{
public:
    /// The grid of a symbol anchored at `anchor` with a narrow module of `module` model units.
    TZVModuleGrid(const TZVCanvas& canvas, TPoint anchor, int module);

    /// True when steps are device dots.
    bool WholeDots() const { return m_dots; }
    /// The anchor, on a dot when steps are dots.
    TPoint Anchor() const { return m_anchor; }
    /// The narrow module in steps.
    std::int64_t Module() const { return m_module; }
    /// The module in device dots, rounded (at least one).
    int ModuleDots() const { return m_moduleDots; }
    /// A length of the design (margin, bar height) in steps.
    std::int64_t Steps(std::int64_t model) const;
    /// A width class of `model` units (the narrow module's multiple by the ratio) in steps.
    std::int64_t ClassSteps(int model) const;
    /// `modules` modules, fractional for PDF417's rows, in steps.
    std::int64_t ModuleSteps(double modules) const;
    /// The model offset from Anchor() of an edge `steps` along either axis.
    std::int64_t Offset(std::int64_t steps) const;
    /// Model units to device dots, rounded.
    int Dots(std::int64_t model) const;

private:
    TZVMapping m_mapping;
    bool m_dots = false;
    TPoint m_anchor;
    TPoint m_deviceAnchor;
    int m_modelModule = 0;
    std::int64_t m_module = 0;
    int m_moduleDots = 1;
    double m_scale = 1;
};

} // namespace zorvel
