// The automation seam on Windows: COM objects created from their programmatic identifier and
// driven late-bound through IDispatch. Text crosses between the logic's GBK and the objects'
// wide strings here, in one place. The thread must have initialised COM.
#pragma once

#include "wmi/automation.h"

#include <memory>
#include <string>

class TComAutomation final : public IAutomationFactory {
public:
    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override;
};
