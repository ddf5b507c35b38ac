// A fingerprint of a design for telling its changes from its repaints.
#pragma once

#include <QByteArray>

namespace zorvel {

class TZVCustomLab;

/// A hash of every persisted setting of `label` and its elements, pictures by identity, leaving
/// out the far corner that painting measures again (texts, symbols, bar codes, pictures sized
/// to themselves): a repaint at another zoom is no change of the design, a changed value is.
QByteArray DesignDigest(TZVCustomLab& label);

} // namespace zorvel
