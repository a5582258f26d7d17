#include "config/DeviceConfiguration.h"

#include <cstring>
#include <initializer_list>

void ResetFormTable(DeviceConfiguration& config) {
    for (FormSlot& slot : config.forms) slot = FormSlot{1, 0, 0, 0};
}

void ResetConfiguration(DeviceConfiguration& config) {
    for (OperatorRecord& op : config.operators) {
        std::memset(&op, 0, sizeof op);
        op.access = 1;
    }
    std::memset(&config.documentName, 0, sizeof config.documentName);
    for (ThreeLineRecord* group : {config.services, config.requisites}) {
        for (int i = 0; i < 8; ++i) {
            std::memset(&group[i], 0, sizeof group[i]);
            group[i].access = 1;
        }
    }
    for (ClicheRecord& cliche : config.cliches) {
        std::memset(&cliche, 0, sizeof cliche);
        cliche.status = 1;
    }
}

DeviceConfiguration& CurrentConfiguration() {
    static DeviceConfiguration config{};
    return config;
}
