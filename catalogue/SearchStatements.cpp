#include "catalogue/SearchStatements.h"

#include "platform/Text.h"

namespace {

constexpr char16_t kSelect[] =
    u"SELECT sw_id, sw_build, sw_description, sw_valid_status, sw_update_type, vehicle_make, vehicle_model, "
    u"vehicle_year_from, vehicle_year_to FROM tolvanesw WHERE ";
constexpr char16_t kOrder[] = u" ORDER BY vehicle_make, vehicle_model";

std::u16string Number(int value) {
    return FromUtf8(std::to_string(value));
}

std::u16string YearClause(int year) {
    return u"vehicle_year_from<=" + Number(year) + u" AND vehicle_year_to>=" + Number(year);
}

}  // namespace

SqlStatement MakeListStatement(const std::u16string& mfgId) {
    return {u"SELECT DISTINCT vehicle_make FROM tolvanesw WHERE mfg_id=? ORDER BY vehicle_make", {mfgId}};
}

SqlStatement ModelListStatement(const std::u16string& make, const std::u16string& mfgId) {
    return {
        u"SELECT DISTINCT vehicle_model FROM tolvanesw WHERE vehicle_make=? AND mfg_id=? ORDER BY "
        u"vehicle_model",
        {make, mfgId}};
}

SqlStatement SearchStatement(const SearchChoice& c) {
    const std::u16string transmission = c.manualTransmission
                                            ? u"AND vehicle_transmission=1"
                                            : u"AND (vehicle_transmission=3 OR vehicle_transmission=2)";
    const std::u16string validity = u"AND sw_valid_status<>0";
    const std::u16string identity = c.updateVolume ? u" AND sw_id = 9999 " : u"AND sw_id <> 9999";
    const std::u16string tail = u" " + transmission + u" " + validity + u" AND mfg_id=? " + identity + kOrder;

    SqlStatement s;
    if (!c.makeChosen && !c.modelChosen && !c.yearChosen) {
        s.text = std::u16string(kSelect) + u"mfg_id=? " + validity + u" " + transmission + u" " + identity +
                 kOrder;
        s.values = {c.mfgId};
        return s;
    }
    std::u16string where;
    if (c.makeChosen) {
        where = u"vehicle_make=?";
        s.values.push_back(c.make);
    }
    if (c.modelChosen) {
        // A model without a make (only after a failed model-list refresh) searches that model
        // across all makes.
        where += where.empty() ? u"vehicle_model=?" : u" AND vehicle_model=?";
        s.values.push_back(c.model);
    }
    if (c.yearChosen) {
        where += where.empty() ? YearClause(c.year) : u" AND " + YearClause(c.year);
    }
    s.text = std::u16string(kSelect) + where + tail;
    s.values.push_back(c.mfgId);
    return s;
}
