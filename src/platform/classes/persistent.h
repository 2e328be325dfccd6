#pragma once

// Base of objects that can copy their content from one another.
class TPersistent {
  public:
    virtual ~TPersistent() = default;

    // Copies Source into this object; raises EConvertError when the kinds do not match.
    virtual void Assign(const TPersistent* Source);

  protected:
    // Copies this object into Dest; the fallback of Assign.
    virtual void AssignTo(TPersistent* Dest) const;
    virtual const char* ClassName() const { return "TPersistent"; }
};
