// The inspector side of the editor link: unlinks itself when it goes.
#include "editor/ZVBaseInspector.h"

#include "editor/ZVEditor.h"

namespace zorvel {

TZVBaseInspector::~TZVBaseInspector()
{
    if (m_editor && m_editor->Inspector() == this) m_editor->SetInspector(nullptr);
}

} // namespace zorvel
