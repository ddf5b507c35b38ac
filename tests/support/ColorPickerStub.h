// Answers every colour pick for the life of the object, so that no test opens the colour dialog.
#pragma once

#include "controls/ZVColorSwatch.h"

#include <utility>

namespace zorvel::test {

class ColorPickerStub
{
public:
    // Records what each pick offered and answers with `answer`, which a test may change.
    explicit ColorPickerStub(std::optional<TZVColor> answer = std::nullopt)
        : answer(answer), m_previous(SetColorPicker([this](TZVColor current, QWidget* parent) {
              ++asked;
              offered = current;
              offeredParent = parent;
              return this->answer;
          }))
    {
    }
    ~ColorPickerStub() { SetColorPicker(std::move(m_previous)); }
    Q_DISABLE_COPY_MOVE(ColorPickerStub)

    std::optional<TZVColor> answer;
    int asked = 0;
    TZVColor offered = 0;
    QWidget* offeredParent = nullptr;

private:
    ColorPicker m_previous;
};

} // namespace zorvel::test
