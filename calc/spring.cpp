#include "calc/spring.h"

#include "runtime/arithmetic.h"
#include "runtime/number_text.h"

#include <algorithm>
#include <numbers>
#include <optional>

namespace tervanel {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi; // exact: doubling only moves the exponent

std::u16string_view nameOf(FaultKind kind) {
    switch (kind) {
    case FaultKind::Overflow:
        return u"Desbordamiento";
    case FaultKind::DivisionByZero:
        return u"División por cero";
    case FaultKind::InvalidOperation:
        return u"Operación no válida";
    case FaultKind::InvalidArgument:
        return u"Argumento no válido";
    case FaultKind::UnrecognisedMaterial:
        break;
    }
    return u"Material no reconocido";
}

FaultKind kindOf(ArithmeticFault fault) {
    switch (fault) {
    case ArithmeticFault::DivisionByZero:
        return FaultKind::DivisionByZero;
    case ArithmeticFault::InvalidOperation:
        return FaultKind::InvalidOperation;
    case ArithmeticFault::InvalidArgument:
        return FaultKind::InvalidArgument;
    case ArithmeticFault::Overflow:
        break;
    }
    return FaultKind::Overflow;
}

Fault makeFault(FaultKind kind, std::u16string_view detail) {
    std::u16string message(nameOf(kind));
    message += u": ";
    message += detail;
    message += u'.';
    return {kind, std::move(message)};
}

std::optional<double> shearModulusOf(std::u16string_view name) {
    const auto* found = std::ranges::find(kMaterials, name, &Material::name);
    if (found == kMaterials.end())
        return std::nullopt;
    return found->shearModulus;
}

Result<double, Fault> readInput(std::u16string_view text, std::u16string_view tooLarge) {
    const Result<double> number = readNumber(text);
    if (!number.ok())
        return makeFault(FaultKind::Overflow, tooLarge);
    return number.value();
}

// "a", "a y b", "a, b y c": the inputs whose zero stopped the stiffness.
std::u16string zeroInputs(double wireDiameter, double meanDiameter, std::int16_t activeCoils) {
    std::u16string_view clauses[3];
    std::size_t count = 0;
    if (wireDiameter == 0)
        clauses[count++] = u"el diámetro del redondo es 0";
    if (meanDiameter == 0)
        clauses[count++] = u"el diámetro medio es 0";
    if (activeCoils == 0)
        clauses[count++] = u"el número de espiras activas (espiras menos las inactivas del tipo "
                           u"de extremo) es 0";
    std::u16string text;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            text += i + 1 == count ? u" y " : u", ";
        text += clauses[i];
    }
    return text;
}

std::optional<Fault> storeStiffness(double wireDiameter, double meanDiameter, SpringState& state) {
    const WideFloat d(wireDiameter);
    const WideFloat D(meanDiameter);
    const WideFloat numerator = d.times(d).times(d).times(d).times(WideFloat(state.G));
    const WideFloat denominator =
        D.times(WideFloat(8)).times(D).times(D).times(WideFloat(static_cast<double>(state.N)));
    FaultFlags flags;
    state.K = numerator.dividedBy(denominator, flags).toDouble(flags);
    const std::optional<ArithmeticFault> fault = flags.check();
    if (!fault)
        return std::nullopt;
    if (*fault == ArithmeticFault::Overflow)
        return makeFault(FaultKind::Overflow, u"la rigidez supera el mayor número representable; "
                                              u"revise los diámetros");
    return makeFault(kindOf(*fault), zeroInputs(wireDiameter, meanDiameter, state.N));
}

std::optional<Fault> storeFrequency(double mass, SpringState& state) {
    FaultFlags flags;
    const double quotient =
        WideFloat(state.K).twice().dividedBy(WideFloat(mass), flags).toDouble(flags);
    if (const std::optional<ArithmeticFault> fault = flags.check()) {
        switch (*fault) {
        case ArithmeticFault::DivisionByZero:
            return makeFault(FaultKind::DivisionByZero, u"la masa es 0");
        case ArithmeticFault::InvalidOperation:
            return makeFault(FaultKind::InvalidOperation, u"la masa es 0 y la rigidez es 0");
        default:
            return makeFault(FaultKind::Overflow, u"la frecuencia supera el mayor número "
                                                  u"representable; revise la masa");
        }
    }
    const Result<double> root = squareRoot(quotient);
    if (!root.ok())
        return makeFault(FaultKind::InvalidArgument,
                         u"la rigidez y la masa tienen signos opuestos; la masa, los diámetros y "
                         u"el número de espiras activas deben ser positivos");
    state.W = root.value() / kTwoPi;
    return std::nullopt;
}

std::u16string sentence(const SpringState& state, std::u16string_view decimalSeparator) {
    return u"La rigidez total del resorte es " + writeNumber(state.K, decimalSeparator) +
           u" Nw/m; y la frecuencia natural es de " + writeNumber(state.W, decimalSeparator) +
           u" Hz";
}

} // namespace

Result<std::u16string, Fault> calculate(const SpringInputs& inputs, SpringState& state,
                                        std::u16string_view decimalSeparator) {
    const std::optional<double> modulus = shearModulusOf(inputs.material);
    if (!modulus)
        return makeFault(FaultKind::UnrecognisedMaterial,
                         u"elija uno de los materiales de la lista; el nombre debe coincidir "
                         u"exactamente, con sus mayúsculas, acentos y espacios");
    state.G = *modulus;

    const auto coils = readInput(inputs.coils, u"el número de espiras es demasiado grande");
    if (!coils.ok())
        return coils.error();
    // A double less a count of at most 2 stays within the double range: no wide arithmetic.
    const Result<std::int16_t> activeCoils = roundToInt16(coils.value() - state.N2);
    if (!activeCoils.ok())
        return makeFault(FaultKind::Overflow,
                         u"el número de espiras activas no está entre -32768 y 32767");
    state.N = activeCoils.value();

    const auto wireDiameter =
        readInput(inputs.wireDiameter, u"el diámetro del redondo es demasiado grande");
    if (!wireDiameter.ok())
        return wireDiameter.error();
    const auto meanDiameter =
        readInput(inputs.meanDiameter, u"el diámetro medio es demasiado grande");
    if (!meanDiameter.ok())
        return meanDiameter.error();
    if (auto fault = storeStiffness(wireDiameter.value(), meanDiameter.value(), state))
        return *fault;

    const auto mass = readInput(inputs.mass, u"la masa es demasiado grande");
    if (!mass.ok())
        return mass.error();
    if (auto fault = storeFrequency(mass.value(), state))
        return *fault;

    return sentence(state, decimalSeparator);
}

} // namespace tervanel
