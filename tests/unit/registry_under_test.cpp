#include "conformance/registry_under_test.h"

#include "fakes/fake_registry.h"

namespace kv::test {
namespace {

class FakeRegistryUnderTest : public RegistryUnderTest {
public:
    platform::Registry& Reader() override { return fake_; }
    void AddKey(platform::Hive hive, const std::string& key) override { fake_.AddKey(hive, key); }
    void Store(platform::Hive hive, const std::string& key, const std::string& name, platform::RegType type,
               const std::string& bytes) override {
        fake_.Set(hive, key, name, {type, bytes});
    }

private:
    FakeRegistry fake_;
};

}  // namespace

std::unique_ptr<RegistryUnderTest> MakeRegistryUnderTest() { return std::make_unique<FakeRegistryUnderTest>(); }

}  // namespace kv::test
