#include "conversion/EngineHolder.h"

#include "conversion/Engine.h"

CEngineHolder::~CEngineHolder()
{
    Free();
}

void CEngineHolder::Free()
{
    delete m_pEngine;
    m_pEngine = NULL;
}

CEngine* CEngineHolder::Release()
{
    CEngine* engine = m_pEngine;
    m_pEngine = NULL;
    return engine;
}
