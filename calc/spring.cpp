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
    case FaultKind::InvalidUnit:
        return u"Unidad no válida";
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

// A box of the window: the unit symbols it takes, and what to say when it holds a refused one
// or a value beyond the double range.
struct Box {
    std::span<const UnitSuffix> units;
    std::u16string_view unitRule;
    std::u16string_view tooLarge;
};

constexpr Box kCoilsBox{
    {}, u"el número de espiras se escribe sin unidad", u"el número de espiras es demasiado grande"};
constexpr Box kWireDiameterBox{kLengthUnits, u"el diámetro del redondo se escribe en m, cm o mm",
                               u"el diámetro del redondo es demasiado grande"};
constexpr Box kMeanDiameterBox{kLengthUnits, u"el diámetro medio se escribe en m, cm o mm",
                               u"el diámetro medio es demasiado grande"};
constexpr Box kMassBox{kMassUnits, u"la masa se escribe en kg, g o t",
                       u"la masa es demasiado grande"};

bool takes(const Box& box, const UnitSuffix& unit) {
    return std::ranges::any_of(
        box.units, [&unit](const UnitSuffix& own) { return own.symbol == unit.symbol; });
}

// Every symbol is looked for in every box, so that one of another quantity is refused rather
// than ignored; a refused symbol is its fault even when the number is also too large.
Result<double, Fault> readBox(std::u16string_view text, const Box& box) {
    const NumberReading reading = readNumber(text, kUnitSymbols);
    if (reading.unit && !takes(box, kUnitSymbols[*reading.unit]))
        return makeFault(FaultKind::InvalidUnit, box.unitRule);
    if (!reading.value.ok())
        return makeFault(FaultKind::Overflow, box.tooLarge);
    return reading.value.value();
}

// All four boxes are read before anything is stored, so that a refused unit in any of them
// changes nothing; a value too large is a fault only when the calculation comes to it.
struct Readings {
    Result<double, Fault> coils;
    Result<double, Fault> wireDiameter;
    Result<double, Fault> meanDiameter;
    Result<double, Fault> mass;
};

Readings readBoxes(const SpringInputs& inputs) {
    return {readBox(inputs.coils, kCoilsBox), readBox(inputs.wireDiameter, kWireDiameterBox),
            readBox(inputs.meanDiameter, kMeanDiameterBox), readBox(inputs.mass, kMassBox)};
}

std::optional<Fault> refusedUnit(const Readings& readings) {
    for (const auto* reading :
         {&readings.coils, &readings.wireDiameter, &readings.meanDiameter, &readings.mass}) {
        if (!reading->ok() && reading->error().kind == FaultKind::InvalidUnit)
            return reading->error();
    }
    return std::nullopt;
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

// A negative zero is no negative value.
std::optional<std::u16string> negativeInputs(double stiffness, double mass) {
    constexpr std::u16string_view kCheckTheSpring =
        u"; revise el número de espiras, el tipo de extremo y los diámetros";
    if (stiffness < 0)
        return std::u16string(mass < 0 ? u"la masa y la rigidez son negativas"
                                       : u"la rigidez es negativa") +
               std::u16string(kCheckTheSpring);
    if (mass < 0)
        return u"la masa es negativa";
    return std::nullopt;
}

std::optional<Fault> storeFrequency(double mass, SpringState& state) {
    FaultFlags flags;
    const double quotient =
        WideFloat(state.K).twice().dividedBy(WideFloat(mass), flags).toDouble(flags);
    const std::optional<ArithmeticFault> fault = flags.check();
    if (fault == ArithmeticFault::DivisionByZero)
        return makeFault(FaultKind::DivisionByZero, u"la masa es 0");
    if (fault == ArithmeticFault::InvalidOperation)
        return makeFault(FaultKind::InvalidOperation, u"la masa es 0 y la rigidez es 0");
    // Before the size of the quotient: a negative spring has no frequency, however large.
    if (const auto negative = negativeInputs(state.K, mass))
        return makeFault(FaultKind::InvalidArgument, *negative);
    if (fault)
        return makeFault(FaultKind::Overflow, u"la frecuencia supera el mayor número "
                                              u"representable; revise la masa");
    // Neither operand is negative now, so neither is the quotient: the root always exists.
    state.W = squareRoot(quotient).value() / kTwoPi;
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
    const Readings read = readBoxes(inputs);
    if (auto refused = refusedUnit(read))
        return *refused;
    state.G = *modulus;

    if (!read.coils.ok())
        return read.coils.error();
    // A double less a count of at most 2 stays within the double range: no wide arithmetic.
    const Result<std::int16_t> activeCoils = roundToInt16(read.coils.value() - state.N2);
    if (!activeCoils.ok())
        return makeFault(FaultKind::Overflow,
                         u"el número de espiras activas no está entre -32768 y 32767");
    state.N = activeCoils.value();

    if (!read.wireDiameter.ok())
        return read.wireDiameter.error();
    if (!read.meanDiameter.ok())
        return read.meanDiameter.error();
    if (auto fault = storeStiffness(read.wireDiameter.value(), read.meanDiameter.value(), state))
        return *fault;

    if (!read.mass.ok())
        return read.mass.error();
    if (auto fault = storeFrequency(read.mass.value(), state))
        return *fault;

    return sentence(state, decimalSeparator);
}

} // namespace tervanel
