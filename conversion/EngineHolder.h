#pragma once

class CEngine;

// Owns a freshly allocated engine while it is being loaded, so that a failure
// or an exception deletes it; the new owner takes it with Release.
class CHolderBase {
public:
    virtual ~CHolderBase() {}
    virtual void Free() = 0;
};

class CEngineHolder : public CHolderBase {
public:
    explicit CEngineHolder(CEngine* engine) : m_pEngine(engine) {}
    ~CEngineHolder() override;
    void Free() override;
    CEngine* Get() const { return m_pEngine; }
    CEngine* Release();

private:
    CEngineHolder(const CEngineHolder&) = delete;
    CEngineHolder& operator=(const CEngineHolder&) = delete;
    CEngine* m_pEngine;
};
