#include "wmi/variant.h"

#include <stdexcept>

IAutomationObject& TVariant::AsObject() const {
    const auto* object = std::get_if<std::shared_ptr<IAutomationObject>>(&value_);
    if (object == nullptr || *object == nullptr) {
        throw std::runtime_error("The service answered with a value where an object was expected");
    }
    return **object;
}
