#include "app/currentoptions.h"

namespace pelmaris::app {

void CurrentOptions::setValues(const Options &values)
{
    bool differs = false;
    for (const OptionKey &key : OptionKeys)
        std::visit([&](auto member) { differs = differs || !(m_values.*member == values.*member); },
                   key.member);
    if (!differs)
        return;
    m_values = values;
    Q_EMIT changed();
}

scan::ScanOrder CurrentOptions::scanOrder() const
{
    const std::pair<bool Options::*, scan::ScanOrder> orders[] = {
        {&Options::numSortA, scan::ScanOrder::NumericAscending},
        {&Options::numSortD, scan::ScanOrder::NumericDescending},
        {&Options::dicSortA, scan::ScanOrder::DictionaryAscending},
        {&Options::dicSortD, scan::ScanOrder::DictionaryDescending},
        {&Options::randomOut, scan::ScanOrder::Random},
    };
    for (const auto &[member, order] : orders)
        if (m_values.*member)
            return order;
    return scan::ScanOrder::None;
}

} // namespace pelmaris::app
