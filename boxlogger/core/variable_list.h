#pragma once
// A request table and the descriptors attached to it, one per channel id,
// shared by use count.
#include "boxlogger/core/request_table.h"
#include "boxlogger/core/variable.h"

#include <memory>
#include <vector>

namespace korv::boxlogger {

class CSerialPort;

class CVariableList {
public:
    explicit CVariableList(CSerialPort& port);
    virtual ~CVariableList();
    CVariableList(const CVariableList&) = delete;
    CVariableList& operator=(const CVariableList&) = delete;

    // One exchange of the list's table.
    virtual int Poll();

    // The list's descriptor for the id (made and attached on first use), or
    // none when the catalogue does not know the id.
    CVariable* Acquire(int channel_id);
    // Drops one holder; the last one destroys the descriptor, taking its
    // request bytes off the table. A descriptor not on the list is ignored.
    void Release(CVariable* variable);

    CRequestTable& table() { return table_; }
    const CRequestTable& table() const { return table_; }
    std::size_t size() const { return variables_.size(); }

private:
    CRequestTable table_;
    // After the table, so the descriptors go first and take their codes off it.
    std::vector<std::unique_ptr<CVariable>> variables_;
};

}  // namespace korv::boxlogger
