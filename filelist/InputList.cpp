#include "InputList.h"

#include <algorithm>

#include "DisplayText.h"
#include "ListSort.h"

namespace lintrel {

bool InputList::contains(std::string_view path) const {
    return std::find(m_dwgPath.begin(), m_dwgPath.end(), path) != m_dwgPath.end();
}

void InputList::accept(std::string path) {
    m_dwgDisplay.push_back(displayText(path));
    m_dwgPath.push_back(std::move(path));
    lintrel::sort(m_dwgPath.size(), m_dwgPath, m_dwgDisplay);
}

void InputList::clear() {
    m_dwgPath.clear();
    m_dwgDisplay.clear();
}

}  // namespace lintrel
