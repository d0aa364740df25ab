// SPDX-License-Identifier: GPL-3.0-or-later
#include "chargeconfig.h"

#include "core/parameterfields.h"
#include "platform/platformservices.h"

QString configurationTitle(const QString &nomfichier)
{
    return QStringLiteral("Lorva avec frottement - ") + nomfichier;
}

bool chargeconfig(const QString &nomfichier, ConfigurationTarget &target,
                  PlatformServices &services)
{
    ConfigurationReader reader;
    const std::optional<Configuration> configuration = reader.load(nomfichier);
    if (!configuration) {
        if (reader.error() == ConfigurationReader::NotThisApplication)
            services.message(MessageIcon::Error, QStringLiteral("Fichier non valide"),
                             QStringLiteral("Ce fichier ne correspond pas à cette application"));
        else
            services.message(MessageIcon::Error,
                             QStringLiteral("Erreur lors du chargement du fichier"),
                             QStringLiteral("Lecture impossible sur disque"));
        return false;
    }

    for (int i = 0; i < Configuration::fieldCount; ++i)
        target.setFieldText(i, configuration->fields[std::size_t(i)]);
    target.setIntervalText(configuration->interval);
    target.setOptions(configuration->options);
    // The mass first, so that the sphere density follows the stored mass and
    // radius; then the radius, which keeps that density and recomputes.
    target.validateField(ParameterFields::Mass);
    target.validateField(ParameterFields::Radius);
    target.majaff();
    target.setWindowTitle(configurationTitle(nomfichier));
    return true;
}

bool saveConfiguration(const QString &nomfichier, ConfigurationTarget &target,
                       PlatformServices &services)
{
    ConfigurationWriter writer;
    if (!writer.save(target.configuration(), nomfichier)) {
        services.message(MessageIcon::Error, QStringLiteral("Enregistrement impossible"),
                         QStringLiteral("Ecriture impossible sur disque"));
        return false;
    }
    target.setWindowTitle(configurationTitle(nomfichier));
    return true;
}
