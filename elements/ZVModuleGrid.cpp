// Module edges on whole dots: computed in dots from a snapped anchor, mapped back to model units.
#include "elements/ZVModuleGrid.h"

#include "foundation/ZVUtils.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zorvel {

TZVModuleGrid::TZVModuleGrid(const TZVCanvas& canvas, TPoint anchor, int module)
    : m_mapping(canvas.GetMapping()), m_dots(canvas.WholeDotModules()), m_anchor(anchor), m_modelModule(module),
      m_module(module)
{
    m_scale = std::abs(m_mapping.ScaleX());
    m_moduleDots = std::max(1, int(std::lround(module * m_scale)));
    if (!m_dots) return;
    m_deviceAnchor = m_mapping.LPtoDP(anchor);
    m_anchor = m_mapping.DPtoLP(m_deviceAnchor);
    m_module = m_moduleDots;
}

std::int64_t TZVModuleGrid::Steps(std::int64_t model) const
{
    return m_dots ? std::llround(double(model) * m_scale) : model;
}

std::int64_t TZVModuleGrid::ClassSteps(int model) const
{
    if (!m_dots || model <= 0) return model;
    if (m_modelModule <= 0) return Steps(model);
    return std::max<std::int64_t>(1, std::llround(double(m_moduleDots) * model / m_modelModule));
}

std::int64_t TZVModuleGrid::ModuleSteps(double modules) const
{
    return std::llround(modules * double(m_module));
}

std::int64_t TZVModuleGrid::Offset(std::int64_t steps) const
{
    if (!m_dots) return steps;
    // Along x whatever the axis: the label's mapping has the same scale both ways.
    const std::int64_t dot = std::clamp<std::int64_t>(m_deviceAnchor.X + steps, INT_MIN, INT_MAX);
    return std::int64_t(m_mapping.DPtoLP(TPoint{int(dot), m_deviceAnchor.Y}).X) - m_anchor.X;
}

int TZVModuleGrid::Dots(std::int64_t model) const
{
    return SaturateToInt(std::llround(double(model) * m_scale));
}

} // namespace zorvel
