#include "features/feature_context.h"

#include "store/settings_store.h"

bool FeatureContext::is560() const
{
    return store && store->icType() == QLatin1String("560");
}
