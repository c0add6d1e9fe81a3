#pragma once
// The root of the framework's object model and the class declarations through which program
// classes make themselves known: class-name string, operations in order, implemented events.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/PropertyString.h"
#include "framework/core/Ref.h"

namespace fw {

struct Attribute {
  std::string name;
  std::string value;
};

struct OperationDecl {
  std::string name;       // "CalculateBtn_Action"
  std::string signature;  // "( PushButton )", "( TextField, String ) as Boolean"
  std::vector<Attribute> attributes;
};

struct ClassDecl {
  std::string className;                   // "ControlWnd.ControlWnd"
  std::string baseClass;                   // "Window"
  std::vector<OperationDecl> operations;   // the class's own virtual operations, in slot order
  std::vector<OperationDecl> nonVirtual;   // e.g. IsEventImplemented
  std::vector<std::string> events;         // the base's events that the class implements ("Activate")
};

// Objects live in Refs (shared_ptr); the framework reaches an object's own Ref through
// shared_from_this, e.g. to hand a window its implicit instance or a control as an event's sender.
class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;
  // The framework class name ("TextField"); program classes answer with their declared name.
  virtual std::string_view ClassName() const = 0;
  // The properties that this object's class and its bases declare.
  virtual const PropertySchema& Schema() const;
  // Sets one declared property (the name as declared); called by SetProperties in list order.
  virtual void SetProperty(std::string_view name, const PropertyValue& value);
  // The value last set for a declared property, or the class's default.
  virtual PropertyValue Property(std::string_view name) const;
};

// Makes a program class known to the framework (run by the program's initialisers). The
// framework keeps the declaration itself, not a copy: it must live as long as the program (a
// static), and RuntimeFindClass gives that same object back.
void RuntimeRegisterClass(const ClassDecl& decl);
const ClassDecl* RuntimeFindClass(std::string_view className);
// Whether the class of that name implements the event; the framework's answer to IsEventImplemented.
bool RuntimeIsEventHandled(const Object& receiver, std::string_view className,
                           std::string_view eventName, bool flag);
// Runs the program's initialisers, in order, before start-up proper.
void RuntimePerformInitializers(const std::vector<std::function<void()>>& initializers);
void RuntimePerformFinalizers();

// Applies a property list to a window or control: decodes it against the target's schema
// (nothing is applied when it is malformed), then sets every entry in list order.
void SetProperties(Object& target, const PropertyString& list);

}  // namespace fw
