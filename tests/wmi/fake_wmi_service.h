// A fake instrumentation service behind the automation seam: a machine made of classes and their
// instances, reached through the same members as the real scripting objects. It records the
// calls that matter, and can be told to be unreachable or to refuse listing property sets.
#pragma once

#include "util/os_error.h"
#include "wmi/automation.h"
#include "wmi/variant.h"

#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct FakeProperty {
    std::string name;
    TVariant value;
};
using FakeInstance = std::vector<FakeProperty>;

struct FakeMachine {
    // Class name -> its instances in the order the service returns them. A class missing here
    // does not exist in the namespace.
    std::map<std::string, std::vector<FakeInstance>> classes;
    bool reachable = true;
    // Wine's service, for one, refuses both of these.
    bool enumeratesPropertySets = true;
    bool namesProperties = true;
    // The error codes of those refusals: "not implemented" and the automation exception.
    std::uint32_t enumerationError = 0x80004001;
    std::uint32_t nameError = 0x80020009;
    // Properties whose Item fails although the instance has them, with the error code.
    std::map<std::string, std::uint32_t> failingItems;
    // "ConnectServer(...)", "ExecQuery(...)", "Get(...)" in the order they were made.
    std::vector<std::string> calls;
};

class FakeObject final : public IAutomationObject {
public:
    using Member = std::function<TVariant(const std::vector<TVariant>&)>;
    using Elements = std::function<std::vector<TVariant>()>;

    FakeObject(std::map<std::string, Member> members, Elements elements = {})
        : members_(std::move(members)), elements_(std::move(elements)) {}

    TVariant Invoke(const std::string& member, const std::vector<TVariant>& arguments) override {
        const auto found = members_.find(member);
        if (found == members_.end()) {
            throw std::runtime_error("Unknown member " + member);
        }
        return found->second(arguments);
    }

    void SetProperty(const std::string& member, const TVariant&) override {
        throw std::runtime_error("Read-only member " + member);
    }

    std::unique_ptr<IAutomationEnumerator> NewEnum() override {
        if (!elements_) {
            throw std::runtime_error("Not a collection");
        }
        return std::make_unique<Enumerator>(elements_());
    }

private:
    class Enumerator final : public IAutomationEnumerator {
    public:
        explicit Enumerator(std::vector<TVariant> elements) : elements_(std::move(elements)) {}
        bool Next(TVariant& element) override {
            if (next_ == elements_.size()) {
                return false;
            }
            element = elements_[next_++];
            return true;
        }

    private:
        std::vector<TVariant> elements_;
        std::size_t next_ = 0;
    };

    std::map<std::string, Member> members_;
    Elements elements_;
};

class FakeAutomation final : public IAutomationFactory {
public:
    FakeMachine& Machine() { return *machine_; }

    std::shared_ptr<IAutomationObject> CreateObject(const std::string& progId) override {
        if (progId != "WbemScripting.SWbemLocator") {
            throw std::runtime_error("Unknown object " + progId);
        }
        const auto machine = machine_;
        return Object({{"ConnectServer", [machine](const std::vector<TVariant>& arguments) {
                            machine->calls.push_back("ConnectServer(" + Texts(arguments) + ")");
                            if (!machine->reachable) {
                                throw std::runtime_error("The RPC server is unavailable");
                            }
                            return TVariant::Object(Services(machine));
                        }}});
    }

private:
    static std::shared_ptr<IAutomationObject>
    Object(std::map<std::string, FakeObject::Member> members, FakeObject::Elements elements = {}) {
        return std::make_shared<FakeObject>(std::move(members), std::move(elements));
    }

    static std::string Text(const TVariant& value) {
        if (value.IsNull()) {
            return "null";
        }
        if (const auto* text = std::get_if<std::string>(&value.Get())) {
            return *text;
        }
        if (const auto* object = std::get_if<std::shared_ptr<IAutomationObject>>(&value.Get())) {
            return *object ? "object" : "Nothing";
        }
        if (const auto* number = std::get_if<std::int32_t>(&value.Get())) {
            return std::to_string(*number);
        }
        return "?";
    }

    static std::string Texts(const std::vector<TVariant>& arguments) {
        std::string joined;
        for (const auto& argument : arguments) {
            joined += (joined.empty() ? "" : ", ") + Text(argument);
        }
        return joined;
    }

    static std::shared_ptr<IAutomationObject> Services(std::shared_ptr<FakeMachine> machine) {
        return Object({
            {"ExecQuery",
             [machine](const std::vector<TVariant>& arguments) {
                 machine->calls.push_back("ExecQuery(" + Texts(arguments) + ")");
                 const std::string query = Text(arguments.at(0));
                 const std::string className = query.substr(query.rfind(' ') + 1);
                 return TVariant::Object(Object({}, [machine, className] {
                     std::vector<TVariant> objects;
                     const auto found = machine->classes.find(className);
                     if (found != machine->classes.end()) {
                         for (const auto& instance : found->second) {
                             objects.push_back(TVariant::Object(Instance(machine, instance)));
                         }
                     }
                     return objects;
                 }));
             }},
            {"Get",
             [machine](const std::vector<TVariant>& arguments) {
                 machine->calls.push_back("Get(" + Texts(arguments) + ")");
                 if (!machine->classes.contains(Text(arguments.at(0)))) {
                     throw std::runtime_error("Not found");
                 }
                 return TVariant::Object(Object({}));
             }},
        });
    }

    static std::shared_ptr<IAutomationObject> Instance(std::shared_ptr<FakeMachine> machine,
                                                       FakeInstance instance) {
        return Object({{"Properties_", [machine, instance](const std::vector<TVariant>&) {
                            return TVariant::Object(PropertySet(machine, instance));
                        }}});
    }

    static std::shared_ptr<IAutomationObject> PropertySet(std::shared_ptr<FakeMachine> machine,
                                                          FakeInstance instance) {
        return Object({{"Item",
                        [machine, instance](const std::vector<TVariant>& arguments) {
                            const std::string name = Text(arguments.at(0));
                            if (const auto failing = machine->failingItems.find(name);
                                failing != machine->failingItems.end()) {
                                throw OSError(failing->second, "Item failed");
                            }
                            for (const auto& property : instance) {
                                if (SameNameIgnoringCase(property.name, name)) {
                                    return TVariant::Object(Property(machine, property));
                                }
                            }
                            // The service's own answer: WBEM_E_NOT_FOUND.
                            throw OSError(0x80041002, "Not found");
                        }},
                       {"Count",
                        [instance](const std::vector<TVariant>&) {
                            return TVariant::Int32(static_cast<std::int32_t>(instance.size()));
                        }}},
                      [machine, instance] {
                          if (!machine->enumeratesPropertySets) {
                              throw OSError(machine->enumerationError, "Not implemented");
                          }
                          std::vector<TVariant> properties;
                          for (const auto& property : instance) {
                              properties.push_back(TVariant::Object(Property(machine, property)));
                          }
                          return properties;
                      });
    }

    static std::shared_ptr<IAutomationObject> Property(std::shared_ptr<FakeMachine> machine,
                                                       FakeProperty property) {
        return Object(
            {{"Name",
              [machine, property](const std::vector<TVariant>&) {
                  if (!machine->namesProperties) {
                      throw OSError(machine->nameError, "Exception occurred");
                  }
                  return TVariant::Text(property.name);
              }},
             {"Value", [property](const std::vector<TVariant>&) { return property.value; }}});
    }

    static bool SameNameIgnoringCase(const std::string& left, const std::string& right) {
        if (left.size() != right.size()) {
            return false;
        }
        for (std::size_t i = 0; i < left.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(left[i])) !=
                std::tolower(static_cast<unsigned char>(right[i]))) {
                return false;
            }
        }
        return true;
    }

    std::shared_ptr<FakeMachine> machine_ = std::make_shared<FakeMachine>();
};
