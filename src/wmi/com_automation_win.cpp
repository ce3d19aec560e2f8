#include "wmi/com_automation_win.h"

#include "util/codepage_win.h"
#include "util/os_error.h"
#include "wmi/com_handles_win.h"

#include <windows.h>

#include <oleauto.h>

#include <stdexcept>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

[[noreturn]] void RaiseFailure(const std::string& what, HRESULT result) {
    const OSError system = MakeOSError(static_cast<std::uint32_t>(result));
    throw OSError(system.Code(), what + ": " + system.what());
}

// A failed Invoke: the object's own description when it gave one (DISP_E_EXCEPTION).
[[noreturn]] void RaiseInvokeFailure(const std::string& member, HRESULT result,
                                     UniqueExcepInfo& exception) {
    if (result == DISP_E_EXCEPTION) {
        const EXCEPINFO& info = exception.Filled();
        const HRESULT code = info.scode != 0 ? info.scode : result;
        if (info.bstrDescription != nullptr && SysStringLen(info.bstrDescription) > 0) {
            throw OSError(static_cast<std::uint32_t>(code),
                          member + ": " +
                              GbkFromWide(std::wstring_view(info.bstrDescription,
                                                            SysStringLen(info.bstrDescription))));
        }
        RaiseFailure(member, code);
    }
    RaiseFailure(member, result);
}

TVariant FromVariant(const VARIANT& variant);

class TDispatchObject final : public IAutomationObject {
public:
    explicit TDispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

    IDispatch* Dispatch() const { return dispatch_.Get(); }

    TVariant Invoke(const std::string& member, const std::vector<TVariant>& arguments) override {
        return FromVariant(Call(member, arguments).Get());
    }

    void SetProperty(const std::string& member, const TVariant& value) override {
        UniqueVariant argument;
        VARIANT* slot = argument.Put();
        ToVariant(value, *slot);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS parameters{slot, &named, 1, 1};
        UniqueExcepInfo exception;
        const HRESULT result =
            dispatch_->Invoke(IdOf(member), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                              &parameters, nullptr, exception.Put(), nullptr);
        if (FAILED(result)) {
            RaiseInvokeFailure(member, result, exception);
        }
    }

    std::unique_ptr<IAutomationEnumerator> NewEnum() override;

private:
    DISPID IdOf(const std::string& member) const {
        std::wstring name = WideFromGbk(member);
        LPOLESTR names[] = {name.data()};
        DISPID id = DISPID_UNKNOWN;
        const HRESULT result =
            dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(result)) {
            RaiseFailure(member, result);
        }
        return id;
    }

    static void ToVariant(const TVariant& value, VARIANT& variant);

    UniqueVariant Call(const std::string& member, const std::vector<TVariant>& arguments) {
        // IDispatch takes the arguments last first.
        std::vector<UniqueVariant> reversed(arguments.size());
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            ToVariant(arguments[i], *reversed[arguments.size() - 1 - i].Put());
        }
        std::vector<VARIANT> raw;
        for (const auto& argument : reversed) {
            raw.push_back(argument.Get()); // borrowed: the owners above free them
        }
        DISPPARAMS parameters{raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
        UniqueVariant answer;
        UniqueExcepInfo exception;
        const HRESULT result = dispatch_->Invoke(
            IdOf(member), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
            &parameters, answer.Put(), exception.Put(), nullptr);
        if (FAILED(result)) {
            RaiseInvokeFailure(member, result, exception);
        }
        return answer;
    }

    ComPtr<IDispatch> dispatch_;
};

class TComEnumerator final : public IAutomationEnumerator {
public:
    explicit TComEnumerator(ComPtr<IEnumVARIANT> enumerator) : enumerator_(std::move(enumerator)) {}

    bool Next(TVariant& element) override {
        UniqueVariant next;
        ULONG fetched = 0;
        if (enumerator_->Next(1, next.Put(), &fetched) != S_OK || fetched != 1) {
            return false;
        }
        element = FromVariant(next.Get());
        return true;
    }

private:
    ComPtr<IEnumVARIANT> enumerator_;
};

std::unique_ptr<IAutomationEnumerator> TDispatchObject::NewEnum() {
    const UniqueVariant answer = Call("_NewEnum", {});
    const VARIANT& variant = answer.Get();
    IUnknown* unknown = nullptr;
    if (variant.vt == VT_UNKNOWN) {
        unknown = variant.punkVal;
    } else if (variant.vt == VT_DISPATCH) {
        unknown = variant.pdispVal;
    }
    if (unknown == nullptr) {
        RaiseFailure("_NewEnum", E_NOINTERFACE);
    }
    ComPtr<IEnumVARIANT> enumerator;
    const HRESULT result = unknown->QueryInterface(IID_IEnumVARIANT, enumerator.PutVoid());
    if (FAILED(result)) {
        RaiseFailure("_NewEnum", result);
    }
    return std::make_unique<TComEnumerator>(std::move(enumerator));
}

void TDispatchObject::ToVariant(const TVariant& value, VARIANT& variant) {
    std::visit(
        [&variant](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, TVariant::EmptyValue>) {
                variant.vt = VT_EMPTY;
            } else if constexpr (std::is_same_v<T, TVariant::NullValue>) {
                variant.vt = VT_NULL;
            } else if constexpr (std::is_same_v<T, std::string>) {
                variant.bstrVal = UniqueBstr(WideFromGbk(held)).Release();
                variant.vt = VT_BSTR;
            } else if constexpr (std::is_same_v<T, std::int8_t>) {
                variant.vt = VT_I1;
                variant.cVal = static_cast<CHAR>(held);
            } else if constexpr (std::is_same_v<T, std::int16_t>) {
                variant.vt = VT_I2;
                variant.iVal = held;
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                variant.vt = VT_I4;
                variant.lVal = held;
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                variant.vt = VT_I8;
                variant.llVal = held;
            } else if constexpr (std::is_same_v<T, std::uint8_t>) {
                variant.vt = VT_UI1;
                variant.bVal = held;
            } else if constexpr (std::is_same_v<T, std::uint16_t>) {
                variant.vt = VT_UI2;
                variant.uiVal = held;
            } else if constexpr (std::is_same_v<T, std::uint32_t>) {
                variant.vt = VT_UI4;
                variant.ulVal = held;
            } else if constexpr (std::is_same_v<T, std::uint64_t>) {
                variant.vt = VT_UI8;
                variant.ullVal = held;
            } else if constexpr (std::is_same_v<T, double>) {
                variant.vt = VT_R8;
                variant.dblVal = held;
            } else if constexpr (std::is_same_v<T, bool>) {
                variant.vt = VT_BOOL;
                variant.boolVal = held ? VARIANT_TRUE : VARIANT_FALSE;
            } else if (held == nullptr) {
                variant.vt = VT_DISPATCH;
                variant.pdispVal = nullptr;
            } else {
                const auto* object = dynamic_cast<const TDispatchObject*>(held.get());
                if (object == nullptr) {
                    throw std::runtime_error("Only a COM object can be passed to a COM object");
                }
                object->Dispatch()->AddRef();
                variant.vt = VT_DISPATCH;
                variant.pdispVal = object->Dispatch();
            }
        },
        value.Get());
}

TVariant ObjectOf(IUnknown* unknown) {
    ComPtr<IDispatch> dispatch;
    if (unknown == nullptr || FAILED(unknown->QueryInterface(IID_IDispatch, dispatch.PutVoid()))) {
        return TVariant::Null();
    }
    return TVariant::Object(std::make_shared<TDispatchObject>(std::move(dispatch)));
}

// Kinds the layer does not hold: numbers become reals, anything else (arrays, errors) null.
TVariant OtherOf(const VARIANT& variant) {
    UniqueVariant real;
    // The source is only read; the API's declaration lacks the const.
    if (SUCCEEDED(VariantChangeType(real.Put(), const_cast<VARIANT*>(&variant), 0, VT_R8))) {
        return TVariant::Real(real.Get().dblVal);
    }
    return TVariant::Null();
}

TVariant FromVariant(const VARIANT& variant) {
    switch (variant.vt) {
    case VT_EMPTY:
        return TVariant();
    case VT_NULL:
        return TVariant::Null();
    case VT_BSTR:
        return TVariant::Text(
            GbkFromWide(std::wstring_view(variant.bstrVal, SysStringLen(variant.bstrVal))));
    case VT_I1:
        return TVariant::Int8(static_cast<std::int8_t>(variant.cVal));
    case VT_I2:
        return TVariant::Int16(variant.iVal);
    case VT_I4:
        return TVariant::Int32(variant.lVal);
    case VT_INT:
        return TVariant::Int32(variant.intVal);
    case VT_I8:
        return TVariant::Int64(variant.llVal);
    case VT_UI1:
        return TVariant::UInt8(variant.bVal);
    case VT_UI2:
        return TVariant::UInt16(variant.uiVal);
    case VT_UI4:
        return TVariant::UInt32(variant.ulVal);
    case VT_UINT:
        return TVariant::UInt32(variant.uintVal);
    case VT_UI8:
        return TVariant::UInt64(variant.ullVal);
    case VT_R4:
        return TVariant::Real(variant.fltVal);
    case VT_R8:
        return TVariant::Real(variant.dblVal);
    case VT_BOOL:
        return TVariant::Boolean(variant.boolVal != VARIANT_FALSE);
    case VT_DISPATCH:
        return ObjectOf(variant.pdispVal);
    case VT_UNKNOWN:
        return ObjectOf(variant.punkVal);
    default:
        return OtherOf(variant);
    }
}

} // namespace

std::shared_ptr<IAutomationObject> TComAutomation::CreateObject(const std::string& progId) {
    CLSID classId{};
    HRESULT result = CLSIDFromProgID(WideFromGbk(progId).c_str(), &classId);
    if (FAILED(result)) {
        RaiseFailure(progId, result);
    }
    ComPtr<IDispatch> dispatch;
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, dispatch.PutVoid());
    if (FAILED(result)) {
        RaiseFailure(progId, result);
    }
    return std::make_shared<TDispatchObject>(std::move(dispatch));
}
