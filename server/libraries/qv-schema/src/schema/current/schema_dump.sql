CREATE SCHEMA qv_apiserver;

CREATE FUNCTION qv_apiserver.dependencies__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('dependencies:' || NEW.dependency_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM dependencies
  WHERE dependency_id = NEW.dependency_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE dependencies SET valid_to = NEW.valid_from
  WHERE dependency_id = NEW.dependency_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.function_patches__immutable_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  RAISE EXCEPTION 'function_patches is insert-only';
END;
$$;

CREATE FUNCTION qv_apiserver.function_patches__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('function_patches:' || NEW.parent_function_version_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM function_patches
  WHERE parent_function_version_id = NEW.parent_function_version_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE function_patches SET valid_to = NEW.valid_from
  WHERE parent_function_version_id = NEW.parent_function_version_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.functions__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('functions:' || NEW.function_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM functions
  WHERE function_id = NEW.function_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE functions SET valid_to = NEW.valid_from
  WHERE function_id = NEW.function_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.logical_function_runs__transitions_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.status, NEW.status) NOT IN (VALUES ('S', 'RR'), ('S', 'H'), ('S', 'RS'), ('S', 'X'), ('RR', 'S'), ('RR', 'R'), ('RR', 'E'), ('RR', 'F'), ('RR', 'H'), ('RR', 'RS'), ('RR', 'X'), ('RS', 'RR'), ('RS', 'H'), ('RS', 'X'), ('R', 'D'), ('R', 'E'), ('R', 'F'), ('R', 'H'), ('R', 'RS'), ('R', 'X'), ('D', 'C'), ('D', 'H'), ('D', 'RS'), ('D', 'X'), ('C', 'Y'), ('E', 'H'), ('E', 'RS'), ('E', 'X'), ('F', 'D'), ('F', 'H'), ('F', 'RS'), ('F', 'X'), ('H', 'RS'), ('H', 'X')) THEN
    RAISE EXCEPTION 'logical_function_runs.status cannot move from % to %', OLD.status, NEW.status;
  END IF;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.physical_function_runs__open_after_end_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('physical_function_runs:' || NEW.logical_function_run_id, 0));
  IF EXISTS (SELECT 1 FROM physical_function_runs WHERE logical_function_run_id = NEW.logical_function_run_id AND valid_to = 'infinity' AND status IN ('RR', 'DP', 'R')) THEN
    RAISE EXCEPTION 'physical_function_runs: % still has an open version in progress', NEW.logical_function_run_id;
  END IF;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.physical_function_runs__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('physical_function_runs:' || NEW.logical_function_run_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM physical_function_runs
  WHERE logical_function_run_id = NEW.logical_function_run_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE physical_function_runs SET valid_to = NEW.valid_from
  WHERE logical_function_run_id = NEW.logical_function_run_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.physical_function_runs__transitions_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.status, NEW.status) NOT IN (VALUES ('RR', 'DP'), ('RR', 'F'), ('DP', 'R'), ('DP', 'F'), ('R', 'D'), ('R', 'F')) THEN
    RAISE EXCEPTION 'physical_function_runs.status cannot move from % to %', OLD.status, NEW.status;
  END IF;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.physical_table_data_versions__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('physical_table_data_versions:' || NEW.logical_table_data_version_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM physical_table_data_versions
  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id)
    AND valid_to > valid_from;
  UPDATE physical_table_data_versions SET valid_to = NEW.valid_from
  WHERE logical_table_data_version_id = NEW.logical_table_data_version_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.tables__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('tables:' || NEW.table_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM tables
  WHERE table_id = NEW.table_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE tables SET valid_to = NEW.valid_from
  WHERE table_id = NEW.table_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.triggers__scd2_close_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  PERFORM pg_advisory_xact_lock(hashtextextended('triggers:' || NEW.trigger_id, 0));
  SELECT COALESCE(MIN(valid_from), 'infinity') INTO NEW.valid_to
  FROM triggers
  WHERE trigger_id = NEW.trigger_id
    AND (valid_from, id) > (NEW.valid_from, NEW.id);
  UPDATE triggers SET valid_to = NEW.valid_from
  WHERE trigger_id = NEW.trigger_id
    AND (valid_from, id) < (NEW.valid_from, NEW.id)
    AND valid_to > NEW.valid_from;
  RETURN NEW;
END;
$$;

CREATE FUNCTION qv_apiserver.workers__transitions_fn() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
  IF NEW.status IS DISTINCT FROM OLD.status AND (OLD.worker_type, OLD.status, NEW.status) NOT IN (VALUES ('F', 'RR', 'R'), ('F', 'RR', 'F'), ('F', 'R', 'D'), ('F', 'R', 'F'), ('CT', 'S', 'RR'), ('CT', 'RR', 'R'), ('CT', 'RR', 'F'), ('CT', 'R', 'D'), ('CT', 'R', 'F'), ('CT', 'D', 'R'), ('CT', 'D', 'F'), ('CT', 'F', 'R'), ('CT', 'F', 'D'), ('CT', 'S', 'SP'), ('CT', 'S', 'SPS'), ('CT', 'RR', 'SPS'), ('CT', 'R', 'SPS'), ('CT', 'D', 'SPS'), ('CT', 'F', 'SPS'), ('CT', 'SPS', 'SPR'), ('CT', 'SPS', 'SP'), ('CT', 'SPR', 'SP'), ('ST', 'S', 'RR'), ('ST', 'RR', 'R'), ('ST', 'RR', 'F'), ('ST', 'R', 'D'), ('ST', 'R', 'F'), ('ST', 'D', 'F'), ('ST', 'F', 'R'), ('ST', 'S', 'SP'), ('ST', 'S', 'SPS'), ('ST', 'RR', 'SPS'), ('ST', 'R', 'SPS'), ('ST', 'D', 'SPS'), ('ST', 'F', 'SPS'), ('ST', 'SPS', 'SPR'), ('ST', 'SPS', 'SP'), ('ST', 'SPR', 'SP')) THEN
    RAISE EXCEPTION 'workers.status cannot move from % to %', OLD.status, NEW.status;
  END IF;
  RETURN NEW;
END;
$$;

CREATE TABLE qv_apiserver.bundles (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    hash text NOT NULL,
    base_path text NOT NULL,
    status text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.bundles FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.collections (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    description text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C",
    name_when_deleted text,
    group_id text NOT NULL COLLATE pg_catalog."C",
    base_path text,
    collection_type text NOT NULL,
    connection_id text COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.collections FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.projects (
    id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    description text NOT NULL,
    base_path text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C",
    name_when_deleted text
);

CREATE VIEW qv_apiserver.collections_resolved WITH (security_invoker='true') AS
 SELECT collections.id,
    collections.project_id,
    COALESCE(collections.name_when_deleted, collections.name) AS name,
    collections.description,
    collections.created_on,
    collections.created_by_id,
    collections.modified_on,
    collections.modified_by_id,
    collections.name_when_deleted,
    collections.group_id,
    collections.base_path,
    collections.collection_type,
    collections.connection_id,
    COALESCE(collections.base_path, projects.base_path) AS effective_base_path,
    (collections.name_when_deleted IS NOT NULL) AS deleted
   FROM (qv_apiserver.collections
     LEFT JOIN qv_apiserver.projects ON ((collections.project_id = projects.id)));

CREATE VIEW qv_apiserver.collections_active WITH (security_invoker='true') AS
 SELECT collections_resolved.id,
    collections_resolved.project_id,
    collections_resolved.name,
    collections_resolved.description,
    collections_resolved.created_on,
    collections_resolved.created_by_id,
    collections_resolved.modified_on,
    collections_resolved.modified_by_id,
    collections_resolved.group_id,
    collections_resolved.base_path,
    collections_resolved.collection_type,
    collections_resolved.connection_id,
    collections_resolved.effective_base_path
   FROM qv_apiserver.collections_resolved
  WHERE (collections_resolved.name_when_deleted IS NULL);

CREATE TABLE qv_apiserver.groups (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    description text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C",
    system boolean NOT NULL,
    kind text NOT NULL
);

ALTER TABLE ONLY qv_apiserver.groups FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.projects_resolved WITH (security_invoker='true') AS
 SELECT projects.id,
    COALESCE(projects.name_when_deleted, projects.name) AS name,
    projects.description,
    projects.base_path,
    projects.created_on,
    projects.created_by_id,
    projects.modified_on,
    projects.modified_by_id,
    projects.name_when_deleted,
    (projects.name_when_deleted IS NOT NULL) AS deleted
   FROM qv_apiserver.projects;

CREATE TABLE qv_apiserver.users (
    id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    full_name text NOT NULL,
    email text,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C",
    password_hash text NOT NULL,
    password_set_on timestamp with time zone NOT NULL,
    password_must_change boolean NOT NULL,
    enabled boolean NOT NULL,
    system boolean NOT NULL
);

CREATE VIEW qv_apiserver.collections__with_names WITH (security_invoker='true') AS
 SELECT collections_active.id,
    collections_active.project_id,
    collections_active.name,
    collections_active.description,
    collections_active.created_on,
    collections_active.created_by_id,
    collections_active.modified_on,
    collections_active.modified_by_id,
    collections_active.group_id,
    collections_active.base_path,
    collections_active.collection_type,
    collections_active.connection_id,
    collections_active.effective_base_path,
    COALESCE(created_by_user.name, (('['::text || collections_active.created_by_id) || ']'::text)) AS created_by,
    COALESCE(modified_by_user.name, (('['::text || collections_active.modified_by_id) || ']'::text)) AS modified_by,
    groups_for_collection.name AS "group",
    projects_resolved.name AS project
   FROM ((((qv_apiserver.collections_active
     LEFT JOIN qv_apiserver.users created_by_user ON ((collections_active.created_by_id = created_by_user.id)))
     LEFT JOIN qv_apiserver.users modified_by_user ON ((collections_active.modified_by_id = modified_by_user.id)))
     LEFT JOIN qv_apiserver.groups groups_for_collection ON ((collections_active.group_id = groups_for_collection.id)))
     JOIN qv_apiserver.projects_resolved ON ((collections_active.project_id = projects_resolved.id)));

CREATE TABLE qv_apiserver.connections (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    kind text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.connections FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.dependencies (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    dependency_id text NOT NULL COLLATE pg_catalog."C",
    function_id text NOT NULL COLLATE pg_catalog."C",
    table_collection_id text NOT NULL COLLATE pg_catalog."C",
    table_function_id text NOT NULL COLLATE pg_catalog."C",
    table_id text NOT NULL COLLATE pg_catalog."C",
    table_versions text NOT NULL,
    dep_pos integer NOT NULL,
    valid_from timestamp with time zone NOT NULL,
    defined_by_id text NOT NULL COLLATE pg_catalog."C",
    system boolean NOT NULL,
    valid_to timestamp with time zone NOT NULL
);

ALTER TABLE ONLY qv_apiserver.dependencies FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.dependencies__with_names WITH (security_invoker='true') AS
 SELECT dependencies.id,
    dependencies.project_id,
    dependencies.collection_id,
    dependencies.dependency_id,
    dependencies.function_id,
    dependencies.table_collection_id,
    dependencies.table_function_id,
    dependencies.table_id,
    dependencies.table_versions,
    dependencies.dep_pos,
    dependencies.valid_from,
    dependencies.defined_by_id,
    dependencies.system,
    dependencies.valid_to,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    table_collection.name AS table_collection
   FROM ((qv_apiserver.dependencies
     LEFT JOIN qv_apiserver.collections_resolved ON ((dependencies.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.collections_resolved table_collection ON ((dependencies.table_collection_id = table_collection.id)));

CREATE TABLE qv_apiserver.executions (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    name text,
    collection_id text NOT NULL COLLATE pg_catalog."C",
    function_version_id bigint NOT NULL,
    triggered_on timestamp with time zone NOT NULL,
    triggered_by_id text NOT NULL COLLATE pg_catalog."C",
    recursion_options jsonb,
    function_id text DEFAULT ''::text NOT NULL COLLATE pg_catalog."C",
    trigger_type text DEFAULT 'M'::text NOT NULL,
    external_uid text,
    status text DEFAULT 'S'::text NOT NULL,
    started_on timestamp with time zone,
    ended_on timestamp with time zone
);

ALTER TABLE ONLY qv_apiserver.executions FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.functions (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    description text NOT NULL,
    decorator text NOT NULL,
    runtime_values text NOT NULL,
    function_id text NOT NULL COLLATE pg_catalog."C",
    base_path text,
    stage_id text NOT NULL COLLATE pg_catalog."C",
    stage_base_path text NOT NULL,
    storage_version text NOT NULL,
    bundle_id text NOT NULL COLLATE pg_catalog."C",
    snippet text NOT NULL,
    valid_from timestamp with time zone NOT NULL,
    defined_by_id text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    connector text,
    connection text,
    enabled boolean DEFAULT true,
    valid_to timestamp with time zone NOT NULL,
    function_type text NOT NULL,
    parent_function_id text COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.functions FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.logical_function_runs (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    function_id text NOT NULL COLLATE pg_catalog."C",
    function_version_id bigint DEFAULT '197001010000000001'::bigint NOT NULL,
    trigger text NOT NULL,
    triggered_on timestamp with time zone NOT NULL,
    triggered_by_id text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    group_id text NOT NULL COLLATE pg_catalog."C",
    recoveries integer DEFAULT 0 NOT NULL
);

ALTER TABLE ONLY qv_apiserver.logical_function_runs FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.executions__with_names WITH (security_invoker='true') AS
 SELECT executions.id,
    executions.project_id,
    executions.name,
    executions.collection_id,
    executions.function_version_id,
    executions.triggered_on,
    executions.triggered_by_id,
    executions.recursion_options,
    executions.function_id,
    executions.trigger_type,
    executions.external_uid,
    executions.status,
    executions.started_on,
    executions.ended_on,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    functions.name AS function,
    COALESCE(users.name, (('['::text || executions.triggered_by_id) || ']'::text)) AS triggered_by,
    projects_resolved.name AS project,
    ( SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb) AS "coalesce"
           FROM ( SELECT logical_function_runs.status,
                    count(*) AS count
                   FROM qv_apiserver.logical_function_runs
                  WHERE (logical_function_runs.execution_id = executions.id)
                  GROUP BY logical_function_runs.status) inner_fr) AS function_run_status_count
   FROM ((((qv_apiserver.executions
     LEFT JOIN qv_apiserver.collections_resolved ON ((executions.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.functions ON ((executions.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.users ON ((executions.triggered_by_id = users.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((executions.project_id = projects_resolved.id)));

CREATE TABLE qv_apiserver.function_patches (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    parent_function_version_id bigint NOT NULL,
    function_id text NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    snippet text NOT NULL,
    bundle_id text NOT NULL COLLATE pg_catalog."C",
    runtime_values text NOT NULL,
    description text NOT NULL,
    valid_from timestamp with time zone NOT NULL,
    defined_by_id text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    valid_to timestamp with time zone NOT NULL
);

ALTER TABLE ONLY qv_apiserver.function_patches FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.function_patches__with_names WITH (security_invoker='true') AS
 SELECT function_patches.id,
    function_patches.project_id,
    function_patches.parent_function_version_id,
    function_patches.function_id,
    function_patches.collection_id,
    function_patches.snippet,
    function_patches.bundle_id,
    function_patches.runtime_values,
    function_patches.description,
    function_patches.valid_from,
    function_patches.defined_by_id,
    function_patches.status,
    function_patches.valid_to,
    COALESCE(users.name, (('['::text || function_patches.defined_by_id) || ']'::text)) AS defined_by
   FROM (qv_apiserver.function_patches
     LEFT JOIN qv_apiserver.users ON ((function_patches.defined_by_id = users.id)));

CREATE TABLE qv_apiserver.physical_function_runs (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    function_version_id bigint NOT NULL,
    function_version_patch_id bigint,
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    valid_from timestamp with time zone NOT NULL,
    triggered_by_id text NOT NULL COLLATE pg_catalog."C",
    trigger text NOT NULL,
    dispatched_on timestamp with time zone,
    started_on timestamp with time zone,
    ended_on timestamp with time zone,
    function_id text DEFAULT ''::text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    base_path text NOT NULL,
    logical_function_run_id bigint NOT NULL,
    valid_to timestamp with time zone NOT NULL
);

ALTER TABLE ONLY qv_apiserver.physical_function_runs FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.function_runs__with_names WITH (security_invoker='true') AS
 SELECT logical_function_runs.id,
    logical_function_runs.project_id,
    logical_function_runs.collection_id,
    logical_function_runs.execution_id,
    logical_function_runs.transaction_id,
    logical_function_runs.function_id,
    logical_function_runs.function_version_id,
    logical_function_runs.trigger,
    logical_function_runs.triggered_on,
    logical_function_runs.triggered_by_id,
    logical_function_runs.status,
    logical_function_runs.group_id,
    logical_function_runs.recoveries,
    functions.name,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    executions.name AS execution,
    COALESCE(users.name, (('['::text || logical_function_runs.triggered_by_id) || ']'::text)) AS triggered_by,
    groups_for_lfr.name AS "group",
    projects_resolved.name AS project,
    physical_function_runs.id AS physical_function_run_id,
    physical_function_runs.started_on,
    physical_function_runs.ended_on,
    physical_function_runs.status AS physical_status,
    physical_function_runs.function_version_patch_id
   FROM (((((((qv_apiserver.logical_function_runs
     LEFT JOIN qv_apiserver.collections_resolved ON ((logical_function_runs.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.groups groups_for_lfr ON ((logical_function_runs.group_id = groups_for_lfr.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((logical_function_runs.project_id = projects_resolved.id)))
     LEFT JOIN qv_apiserver.functions ON ((logical_function_runs.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.executions ON ((logical_function_runs.execution_id = executions.id)))
     LEFT JOIN qv_apiserver.users ON ((logical_function_runs.triggered_by_id = users.id)))
     LEFT JOIN qv_apiserver.physical_function_runs ON (((physical_function_runs.logical_function_run_id = logical_function_runs.id) AND (physical_function_runs.valid_to = 'infinity'::timestamp with time zone))));

CREATE VIEW qv_apiserver.function_versions__with_names WITH (security_invoker='true') AS
 SELECT functions.id,
    functions.project_id,
    functions.collection_id,
    functions.name,
    functions.description,
    functions.decorator,
    functions.runtime_values,
    functions.function_id,
    functions.base_path,
    functions.stage_id,
    functions.stage_base_path,
    functions.storage_version,
    functions.bundle_id,
    functions.snippet,
    functions.valid_from,
    functions.defined_by_id,
    functions.status,
    functions.connector,
    functions.connection,
    functions.enabled,
    functions.valid_to,
    functions.function_type,
    functions.parent_function_id,
    collections_resolved.name AS collection,
    COALESCE(users.name, (('['::text || functions.defined_by_id) || ']'::text)) AS defined_by,
    NULL::bigint AS patch_of
   FROM ((qv_apiserver.functions
     LEFT JOIN qv_apiserver.collections_resolved ON ((functions.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.users ON ((functions.defined_by_id = users.id)))
UNION ALL
 SELECT function_patches.id,
    function_patches.project_id,
    function_patches.collection_id,
    parent.name,
    function_patches.description,
    parent.decorator,
    function_patches.runtime_values,
    function_patches.function_id,
    parent.base_path,
    parent.stage_id,
    parent.stage_base_path,
    parent.storage_version,
    function_patches.bundle_id,
    function_patches.snippet,
    function_patches.valid_from,
    function_patches.defined_by_id,
    function_patches.status,
    parent.connector,
    parent.connection,
    parent.enabled,
    function_patches.valid_to,
    parent.function_type,
    parent.parent_function_id,
    collections_resolved.name AS collection,
    COALESCE(users.name, (('['::text || function_patches.defined_by_id) || ']'::text)) AS defined_by,
    function_patches.parent_function_version_id AS patch_of
   FROM (((qv_apiserver.function_patches
     JOIN qv_apiserver.functions parent ON ((function_patches.parent_function_version_id = parent.id)))
     LEFT JOIN qv_apiserver.collections_resolved ON ((function_patches.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.users ON ((function_patches.defined_by_id = users.id)));

CREATE VIEW qv_apiserver.functions__with_names WITH (security_invoker='true') AS
 SELECT functions.id,
    functions.project_id,
    functions.collection_id,
    functions.name,
    functions.description,
    functions.decorator,
    functions.runtime_values,
    functions.function_id,
    functions.base_path,
    functions.stage_id,
    functions.stage_base_path,
    functions.storage_version,
    functions.bundle_id,
    functions.snippet,
    functions.valid_from,
    functions.defined_by_id,
    functions.status,
    functions.connector,
    functions.connection,
    functions.enabled,
    functions.valid_to,
    functions.function_type,
    functions.parent_function_id,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    collections_resolved.group_id,
    COALESCE(users.name, (('['::text || functions.defined_by_id) || ']'::text)) AS defined_by
   FROM ((qv_apiserver.functions
     LEFT JOIN qv_apiserver.collections_resolved ON ((functions.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.users ON ((functions.defined_by_id = users.id)));

CREATE VIEW qv_apiserver.groups__with_names WITH (security_invoker='true') AS
 SELECT groups.id,
    groups.project_id,
    groups.name,
    groups.description,
    groups.created_on,
    groups.created_by_id,
    COALESCE(created_by_user.name, (('['::text || groups.created_by_id) || ']'::text)) AS created_by,
    groups.modified_on,
    groups.modified_by_id,
    COALESCE(modified_by_user.name, (('['::text || groups.modified_by_id) || ']'::text)) AS modified_by,
    groups.system,
    groups.kind
   FROM ((qv_apiserver.groups
     LEFT JOIN qv_apiserver.users created_by_user ON ((groups.created_by_id = created_by_user.id)))
     LEFT JOIN qv_apiserver.users modified_by_user ON ((groups.modified_by_id = modified_by_user.id)));

CREATE TABLE qv_apiserver.logical_function_run_inputs (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    logical_function_run_id bigint NOT NULL,
    requirement_logical_table_data_version_id bigint,
    requirement_input_idx integer,
    requirement_dependency_pos integer,
    requirement_version_pos integer NOT NULL,
    requirement_table_version_id text COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.logical_table_data_versions (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    table_id text NOT NULL COLLATE pg_catalog."C",
    producer_logical_function_run_id bigint,
    function_param_pos integer,
    private boolean NOT NULL,
    triggered_on timestamp with time zone NOT NULL,
    triggered_by_id text NOT NULL COLLATE pg_catalog."C",
    group_id text NOT NULL COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.logical_table_data_versions__active WITH (security_invoker='true') AS
 SELECT logical_table_data_versions.id,
    logical_table_data_versions.project_id,
    logical_table_data_versions.collection_id,
    logical_table_data_versions.execution_id,
    logical_table_data_versions.transaction_id,
    logical_table_data_versions.table_id,
    logical_table_data_versions.producer_logical_function_run_id,
    logical_table_data_versions.function_param_pos,
    logical_table_data_versions.private,
    logical_table_data_versions.triggered_on,
    logical_table_data_versions.triggered_by_id,
    logical_table_data_versions.group_id
   FROM (qv_apiserver.logical_table_data_versions
     LEFT JOIN qv_apiserver.logical_function_runs ON ((logical_table_data_versions.producer_logical_function_run_id = logical_function_runs.id)))
  WHERE ((logical_function_runs.status IS NULL) OR (logical_function_runs.status <> ALL (ARRAY['Y'::text, 'X'::text])));

CREATE TABLE qv_apiserver.metrics_facts (
    ts timestamp with time zone NOT NULL,
    ts_hour_ms bigint NOT NULL,
    ts_day_ms bigint NOT NULL,
    ts_week_ms bigint NOT NULL,
    ts_month_ms bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    from_group_id text COLLATE pg_catalog."C",
    from_collection_id text COLLATE pg_catalog."C",
    group_id text NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    function_id text NOT NULL COLLATE pg_catalog."C",
    function_run_id bigint NOT NULL,
    attempt_id bigint NOT NULL,
    attempt_outcome text NOT NULL,
    run_status text NOT NULL,
    replay bigint NOT NULL,
    current boolean NOT NULL,
    run_has_inputs boolean NOT NULL,
    run_has_outputs boolean NOT NULL,
    side text NOT NULL,
    table_id text COLLATE pg_catalog."C",
    table_version_id bigint,
    private boolean NOT NULL,
    has_data boolean NOT NULL,
    row_count bigint NOT NULL,
    data_bytes bigint NOT NULL,
    first_consumed_on timestamp with time zone,
    edge_kind text,
    edge_first boolean NOT NULL,
    edge_first_group boolean NOT NULL
);

ALTER TABLE ONLY qv_apiserver.metrics_facts FORCE ROW LEVEL SECURITY;

CREATE TABLE qv_apiserver.permissions (
    id text NOT NULL COLLATE pg_catalog."C",
    role_id text NOT NULL COLLATE pg_catalog."C",
    permission_type text NOT NULL,
    entity_type text NOT NULL,
    entity_id text NOT NULL COLLATE pg_catalog."C",
    granted_by_id text NOT NULL COLLATE pg_catalog."C",
    granted_on timestamp with time zone NOT NULL,
    fixed boolean NOT NULL
);

CREATE TABLE qv_apiserver.roles (
    id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    description text NOT NULL,
    created_on timestamp with time zone NOT NULL,
    created_by_id text NOT NULL COLLATE pg_catalog."C",
    modified_on timestamp with time zone NOT NULL,
    modified_by_id text NOT NULL COLLATE pg_catalog."C",
    kind text NOT NULL,
    project_id text COLLATE pg_catalog."C",
    fixed boolean NOT NULL
);

CREATE VIEW qv_apiserver.permissions__with_names WITH (security_invoker='true') AS
 SELECT permissions.id,
    permissions.role_id,
    permissions.permission_type,
    permissions.entity_type,
    permissions.granted_by_id,
    permissions.granted_on,
    permissions.fixed,
    COALESCE(users.name, (('['::text || permissions.granted_by_id) || ']'::text)) AS granted_by,
        CASE
            WHEN (permissions.entity_id = '00000000000000000000000204'::text) THEN NULL::text
            ELSE permissions.entity_id
        END AS entity_id,
    roles.name AS role,
    projects_resolved.name AS entity
   FROM (((qv_apiserver.permissions
     LEFT JOIN qv_apiserver.users ON ((permissions.granted_by_id = users.id)))
     LEFT JOIN qv_apiserver.roles ON ((permissions.role_id = roles.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((permissions.entity_id = projects_resolved.id)));

CREATE VIEW qv_apiserver.physical_function_runs__with_names WITH (security_invoker='true') AS
 SELECT physical_function_runs.id,
    physical_function_runs.project_id,
    physical_function_runs.collection_id,
    physical_function_runs.function_version_id,
    physical_function_runs.function_version_patch_id,
    physical_function_runs.execution_id,
    physical_function_runs.transaction_id,
    physical_function_runs.valid_from,
    physical_function_runs.triggered_by_id,
    physical_function_runs.trigger,
    physical_function_runs.dispatched_on,
    physical_function_runs.started_on,
    physical_function_runs.ended_on,
    physical_function_runs.function_id,
    physical_function_runs.status,
    physical_function_runs.base_path,
    physical_function_runs.logical_function_run_id,
    physical_function_runs.valid_to,
    functions.name,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    collections_resolved.connection_id,
    connections.kind AS connection,
    projects_resolved.name AS project,
    executions.name AS execution,
    executions.function_version_id AS execution_function_version_id,
    functions.storage_version,
    COALESCE(users.name, (('['::text || physical_function_runs.triggered_by_id) || ']'::text)) AS triggered_by
   FROM ((((((qv_apiserver.physical_function_runs
     LEFT JOIN qv_apiserver.collections_resolved ON ((physical_function_runs.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.connections ON ((collections_resolved.connection_id = connections.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((physical_function_runs.project_id = projects_resolved.id)))
     LEFT JOIN qv_apiserver.functions ON ((physical_function_runs.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.executions ON ((physical_function_runs.execution_id = executions.id)))
     LEFT JOIN qv_apiserver.users ON ((physical_function_runs.triggered_by_id = users.id)));

CREATE TABLE qv_apiserver.physical_table_data_versions (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    table_id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    table_version_id text NOT NULL COLLATE pg_catalog."C",
    function_version_id bigint NOT NULL,
    function_version_patch_id bigint,
    has_data boolean,
    schema_changed boolean,
    column_count bigint,
    row_count bigint,
    data_bytes bigint,
    schema_hash text,
    columnar_lineage text,
    execution_id bigint NOT NULL,
    transaction_id bigint NOT NULL,
    physical_function_run_id bigint NOT NULL,
    function_param_pos integer NOT NULL,
    with_data_table_data_version_id bigint,
    valid_from timestamp with time zone NOT NULL,
    base_path text NOT NULL,
    logical_table_data_version_id bigint NOT NULL,
    valid_to timestamp with time zone NOT NULL
);

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.physical_table_data_versions__with_function WITH (security_invoker='true') AS
 SELECT physical_table_data_versions.id,
    physical_table_data_versions.project_id,
    physical_table_data_versions.collection_id,
    physical_table_data_versions.table_id,
    physical_table_data_versions.name,
    physical_table_data_versions.table_version_id,
    physical_table_data_versions.function_version_id,
    physical_table_data_versions.function_version_patch_id,
    physical_table_data_versions.has_data,
    physical_table_data_versions.schema_changed,
    physical_table_data_versions.column_count,
    physical_table_data_versions.row_count,
    physical_table_data_versions.data_bytes,
    physical_table_data_versions.schema_hash,
    physical_table_data_versions.columnar_lineage,
    physical_table_data_versions.execution_id,
    physical_table_data_versions.transaction_id,
    physical_table_data_versions.physical_function_run_id,
    physical_table_data_versions.function_param_pos,
    physical_table_data_versions.with_data_table_data_version_id,
    physical_table_data_versions.valid_from,
    physical_table_data_versions.base_path,
    physical_table_data_versions.logical_table_data_version_id,
    physical_table_data_versions.valid_to,
    physical_function_runs.triggered_by_id,
    physical_function_runs.started_on,
    physical_function_runs.ended_on,
    physical_function_runs.status,
    functions.storage_version
   FROM ((qv_apiserver.physical_table_data_versions
     LEFT JOIN qv_apiserver.functions ON ((physical_table_data_versions.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.physical_function_runs ON ((physical_table_data_versions.physical_function_run_id = physical_function_runs.id)));

CREATE VIEW qv_apiserver.physical_table_data_versions__with_names WITH (security_invoker='true') AS
 SELECT physical_table_data_versions__with_function.id,
    physical_table_data_versions__with_function.project_id,
    physical_table_data_versions__with_function.collection_id,
    physical_table_data_versions__with_function.table_id,
    physical_table_data_versions__with_function.name,
    physical_table_data_versions__with_function.table_version_id,
    physical_table_data_versions__with_function.function_version_id,
    physical_table_data_versions__with_function.function_version_patch_id,
    physical_table_data_versions__with_function.has_data,
    physical_table_data_versions__with_function.schema_changed,
    physical_table_data_versions__with_function.column_count,
    physical_table_data_versions__with_function.row_count,
    physical_table_data_versions__with_function.data_bytes,
    physical_table_data_versions__with_function.schema_hash,
    physical_table_data_versions__with_function.columnar_lineage,
    physical_table_data_versions__with_function.execution_id,
    physical_table_data_versions__with_function.transaction_id,
    physical_table_data_versions__with_function.physical_function_run_id,
    physical_table_data_versions__with_function.function_param_pos,
    physical_table_data_versions__with_function.with_data_table_data_version_id,
    physical_table_data_versions__with_function.valid_from,
    physical_table_data_versions__with_function.base_path,
    physical_table_data_versions__with_function.logical_table_data_version_id,
    physical_table_data_versions__with_function.valid_to,
    physical_table_data_versions__with_function.triggered_by_id,
    physical_table_data_versions__with_function.started_on,
    physical_table_data_versions__with_function.ended_on,
    physical_table_data_versions__with_function.status,
    physical_table_data_versions__with_function.storage_version,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    functions.name AS function,
    COALESCE(users.name, (('['::text || physical_table_data_versions__with_function.triggered_by_id) || ']'::text)) AS created_by
   FROM (((qv_apiserver.physical_table_data_versions__with_function
     LEFT JOIN qv_apiserver.collections_resolved ON ((physical_table_data_versions__with_function.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.functions ON ((physical_table_data_versions__with_function.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.users ON ((physical_table_data_versions__with_function.triggered_by_id = users.id)));

CREATE VIEW qv_apiserver.projects_active WITH (security_invoker='true') AS
 SELECT projects_resolved.id,
    projects_resolved.name,
    projects_resolved.description,
    projects_resolved.base_path,
    projects_resolved.created_on,
    projects_resolved.created_by_id,
    projects_resolved.modified_on,
    projects_resolved.modified_by_id
   FROM qv_apiserver.projects_resolved
  WHERE (projects_resolved.name_when_deleted IS NULL);

CREATE VIEW qv_apiserver.projects__with_names WITH (security_invoker='true') AS
 SELECT projects_active.id,
    projects_active.name,
    projects_active.description,
    projects_active.base_path,
    projects_active.created_on,
    projects_active.created_by_id,
    COALESCE(created_by_user.name, (('['::text || projects_active.created_by_id) || ']'::text)) AS created_by,
    projects_active.modified_on,
    projects_active.modified_by_id,
    COALESCE(modified_by_user.name, (('['::text || projects_active.modified_by_id) || ']'::text)) AS modified_by
   FROM ((qv_apiserver.projects_active
     LEFT JOIN qv_apiserver.users created_by_user ON ((projects_active.created_by_id = created_by_user.id)))
     LEFT JOIN qv_apiserver.users modified_by_user ON ((projects_active.modified_by_id = modified_by_user.id)));

CREATE TABLE qv_apiserver.quorvale_system (
    name text NOT NULL,
    value text
);

CREATE VIEW qv_apiserver.roles__with_names WITH (security_invoker='true') AS
 SELECT roles.id,
    roles.name,
    roles.description,
    roles.created_on,
    roles.created_by_id,
    COALESCE(created_by_user.name, (('['::text || roles.created_by_id) || ']'::text)) AS created_by,
    roles.modified_on,
    roles.modified_by_id,
    COALESCE(modified_by_user.name, (('['::text || roles.modified_by_id) || ']'::text)) AS modified_by,
    roles.kind,
    roles.project_id,
    roles.fixed
   FROM ((qv_apiserver.roles
     LEFT JOIN qv_apiserver.users created_by_user ON ((roles.created_by_id = created_by_user.id)))
     LEFT JOIN qv_apiserver.users modified_by_user ON ((roles.modified_by_id = modified_by_user.id)));

CREATE TABLE qv_apiserver.service_tokens (
    id text NOT NULL COLLATE pg_catalog."C",
    user_id text NOT NULL COLLATE pg_catalog."C",
    slot integer NOT NULL,
    digest text NOT NULL,
    hint text NOT NULL,
    comment text,
    created_on timestamp with time zone NOT NULL,
    expires_on timestamp with time zone NOT NULL,
    last_used_on timestamp with time zone,
    scope text NOT NULL,
    system boolean NOT NULL,
    CONSTRAINT service_tokens_slot_check CHECK ((slot = ANY (ARRAY[1, 2])))
);

CREATE VIEW qv_apiserver.service_tokens__with_names WITH (security_invoker='true') AS
 SELECT service_tokens.id,
    service_tokens.user_id,
    service_tokens.slot,
    service_tokens.digest,
    service_tokens.hint,
    service_tokens.comment,
    service_tokens.created_on,
    service_tokens.expires_on,
    service_tokens.last_used_on,
    service_tokens.scope,
    service_tokens.system,
    users.name AS user_name,
    users.enabled AS user_enabled
   FROM (qv_apiserver.service_tokens
     JOIN qv_apiserver.users ON ((service_tokens.user_id = users.id)));

CREATE TABLE qv_apiserver.sessions (
    access_token_id text NOT NULL COLLATE pg_catalog."C",
    refresh_token_id text NOT NULL COLLATE pg_catalog."C",
    user_id text NOT NULL COLLATE pg_catalog."C",
    created_on timestamp with time zone NOT NULL,
    expires_on timestamp with time zone NOT NULL,
    status_change_on timestamp with time zone NOT NULL,
    status text NOT NULL
);

CREATE VIEW qv_apiserver.sessions__with_names WITH (security_invoker='true') AS
 SELECT sessions.access_token_id,
    sessions.refresh_token_id,
    sessions.user_id,
    sessions.created_on,
    sessions.expires_on,
    sessions.status_change_on,
    sessions.status,
    users.name AS user_name
   FROM (qv_apiserver.sessions
     JOIN qv_apiserver.users ON ((sessions.user_id = users.id)));

CREATE TABLE qv_apiserver.tables (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    table_id text NOT NULL COLLATE pg_catalog."C",
    name text NOT NULL,
    function_id text COLLATE pg_catalog."C",
    function_version_id bigint NOT NULL,
    function_param_pos integer,
    private boolean NOT NULL,
    partitioned boolean,
    valid_from timestamp with time zone NOT NULL,
    defined_by_id text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    table_type text DEFAULT 'R'::text NOT NULL,
    valid_to timestamp with time zone NOT NULL,
    parent_table_id text COLLATE pg_catalog."C"
);

ALTER TABLE ONLY qv_apiserver.tables FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.table_data_versions__with_names WITH (security_invoker='true') AS
 SELECT logical_table_data_versions.id,
    logical_table_data_versions.project_id,
    logical_table_data_versions.collection_id,
    logical_table_data_versions.execution_id,
    logical_table_data_versions.transaction_id,
    logical_table_data_versions.table_id,
    logical_table_data_versions.producer_logical_function_run_id,
    logical_table_data_versions.function_param_pos,
    logical_table_data_versions.private,
    logical_table_data_versions.triggered_on,
    logical_table_data_versions.triggered_by_id,
    logical_table_data_versions.group_id,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    executions.name AS execution,
    COALESCE(users.name, (('['::text || logical_table_data_versions.triggered_by_id) || ']'::text)) AS triggered_by,
    groups_for_ltdv.name AS "group",
    physical_table_data_versions.id AS physical_table_data_version_id,
    physical_table_data_versions.name,
    physical_table_data_versions.table_version_id,
    physical_table_data_versions.function_version_id,
    physical_table_data_versions.function_version_patch_id,
    physical_table_data_versions.has_data,
    physical_table_data_versions.schema_changed,
    physical_table_data_versions.column_count,
    physical_table_data_versions.row_count,
    physical_table_data_versions.data_bytes,
    physical_table_data_versions.schema_hash,
    physical_table_data_versions.with_data_table_data_version_id,
    physical_table_data_versions.physical_function_run_id,
    physical_function_runs.started_on,
    physical_function_runs.ended_on,
    logical_function_runs.status,
    physical_function_runs.status AS physical_status,
    functions.name AS function,
    functions.storage_version,
    tables.parent_table_id
   FROM (((((((((qv_apiserver.logical_table_data_versions
     LEFT JOIN qv_apiserver.collections_resolved ON ((logical_table_data_versions.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.executions ON ((logical_table_data_versions.execution_id = executions.id)))
     LEFT JOIN qv_apiserver.users ON ((logical_table_data_versions.triggered_by_id = users.id)))
     LEFT JOIN qv_apiserver.physical_table_data_versions ON (((physical_table_data_versions.logical_table_data_version_id = logical_table_data_versions.id) AND (physical_table_data_versions.valid_to = 'infinity'::timestamp with time zone))))
     LEFT JOIN qv_apiserver.physical_function_runs ON ((physical_function_runs.id = physical_table_data_versions.physical_function_run_id)))
     LEFT JOIN qv_apiserver.logical_function_runs ON ((logical_table_data_versions.producer_logical_function_run_id = logical_function_runs.id)))
     LEFT JOIN qv_apiserver.functions ON ((physical_table_data_versions.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.tables ON ((physical_table_data_versions.table_version_id = tables.id)))
     LEFT JOIN qv_apiserver.groups groups_for_ltdv ON ((logical_table_data_versions.group_id = groups_for_ltdv.id)));

CREATE TABLE qv_apiserver.table_partitions (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    table_id text NOT NULL COLLATE pg_catalog."C",
    table_version_id text NOT NULL COLLATE pg_catalog."C",
    function_version_id bigint NOT NULL,
    table_data_version_id bigint NOT NULL,
    partition_key text,
    partition_deleted boolean
);

ALTER TABLE ONLY qv_apiserver.table_partitions FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.tables__with_names WITH (security_invoker='true') AS
 SELECT tables.id,
    tables.project_id,
    tables.collection_id,
    tables.table_id,
    tables.name,
    tables.function_id,
    tables.function_version_id,
    tables.function_param_pos,
    tables.private,
    tables.partitioned,
    tables.valid_from,
    tables.defined_by_id,
    tables.status,
    tables.table_type,
    tables.valid_to,
    tables.parent_table_id,
    (tables.function_param_pos < 0) AS system,
    COALESCE(users.name, (('['::text || tables.defined_by_id) || ']'::text)) AS defined_by,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    functions.name AS function
   FROM (((qv_apiserver.tables
     LEFT JOIN qv_apiserver.collections_resolved ON ((tables.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.functions ON ((tables.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.users ON ((tables.defined_by_id = users.id)));

CREATE TABLE qv_apiserver.transactions (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint NOT NULL,
    transaction_by text NOT NULL,
    transaction_key text NOT NULL,
    triggered_on timestamp with time zone NOT NULL,
    triggered_by_id text NOT NULL COLLATE pg_catalog."C",
    group_id text NOT NULL COLLATE pg_catalog."C",
    status text DEFAULT 'S'::text NOT NULL,
    started_on timestamp with time zone,
    ended_on timestamp with time zone
);

ALTER TABLE ONLY qv_apiserver.transactions FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.transactions__with_names WITH (security_invoker='true') AS
 SELECT transactions.id,
    transactions.project_id,
    transactions.collection_id,
    transactions.execution_id,
    transactions.transaction_by,
    transactions.transaction_key,
    transactions.triggered_on,
    transactions.triggered_by_id,
    transactions.group_id,
    transactions.status,
    transactions.started_on,
    transactions.ended_on,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    executions.name AS execution,
    COALESCE(users.name, (('['::text || transactions.triggered_by_id) || ']'::text)) AS triggered_by,
    groups_for_transactions.name AS "group",
    projects_resolved.name AS project,
    ( SELECT COALESCE(jsonb_object_agg(inner_fr.status, inner_fr.count), '{}'::jsonb) AS "coalesce"
           FROM ( SELECT logical_function_runs.status,
                    count(*) AS count
                   FROM qv_apiserver.logical_function_runs
                  WHERE (logical_function_runs.transaction_id = transactions.id)
                  GROUP BY logical_function_runs.status) inner_fr) AS function_run_status_count
   FROM (((((qv_apiserver.transactions
     LEFT JOIN qv_apiserver.collections_resolved ON ((transactions.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.executions ON ((transactions.execution_id = executions.id)))
     LEFT JOIN qv_apiserver.users ON ((transactions.triggered_by_id = users.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((transactions.project_id = projects_resolved.id)))
     LEFT JOIN qv_apiserver.groups groups_for_transactions ON ((transactions.group_id = groups_for_transactions.id)));

CREATE TABLE qv_apiserver.triggers (
    id text NOT NULL COLLATE pg_catalog."C",
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    trigger_id text NOT NULL COLLATE pg_catalog."C",
    function_id text NOT NULL COLLATE pg_catalog."C",
    trigger_by_collection_id text NOT NULL COLLATE pg_catalog."C",
    trigger_by_function_id text NOT NULL COLLATE pg_catalog."C",
    trigger_by_table_id text NOT NULL COLLATE pg_catalog."C",
    status text NOT NULL,
    valid_from timestamp with time zone NOT NULL,
    defined_by_id text NOT NULL COLLATE pg_catalog."C",
    system boolean NOT NULL,
    valid_to timestamp with time zone NOT NULL
);

ALTER TABLE ONLY qv_apiserver.triggers FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.triggers__with_names WITH (security_invoker='true') AS
 SELECT triggers.id,
    triggers.project_id,
    triggers.collection_id,
    triggers.trigger_id,
    triggers.function_id,
    triggers.trigger_by_collection_id,
    triggers.trigger_by_function_id,
    triggers.trigger_by_table_id,
    triggers.status,
    triggers.valid_from,
    triggers.defined_by_id,
    triggers.system,
    triggers.valid_to,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    trigger_by_collection.name AS trigger_by_collection
   FROM ((qv_apiserver.triggers
     LEFT JOIN qv_apiserver.collections_resolved ON ((triggers.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.collections_resolved trigger_by_collection ON ((triggers.trigger_by_collection_id = trigger_by_collection.id)));

CREATE VIEW qv_apiserver.triggers__read WITH (security_invoker='true') AS
 SELECT triggers__with_names.id,
    triggers__with_names.project_id,
    triggers__with_names.collection_id,
    triggers__with_names.trigger_id,
    triggers__with_names.function_id,
    triggers__with_names.trigger_by_collection_id,
    triggers__with_names.trigger_by_function_id,
    triggers__with_names.trigger_by_table_id,
    triggers__with_names.status,
    triggers__with_names.valid_from,
    triggers__with_names.defined_by_id,
    triggers__with_names.system,
    triggers__with_names.valid_to,
    triggers__with_names.collection,
    triggers__with_names.collection_deleted,
    triggers__with_names.trigger_by_collection
   FROM qv_apiserver.triggers__with_names
  WHERE (triggers__with_names.system = false);

CREATE VIEW qv_apiserver.users__with_names WITH (security_invoker='true') AS
 SELECT users.id,
    users.name,
    users.full_name,
    users.email,
    users.created_on,
    users.created_by_id,
    users.modified_on,
    users.modified_by_id,
    users.password_hash,
    users.password_set_on,
    users.password_must_change,
    users.enabled,
    users.system,
    COALESCE(created_by_user.name, (('['::text || users.created_by_id) || ']'::text)) AS created_by,
    COALESCE(modified_by_user.name, (('['::text || users.modified_by_id) || ']'::text)) AS modified_by
   FROM ((qv_apiserver.users
     LEFT JOIN qv_apiserver.users created_by_user ON ((users.created_by_id = created_by_user.id)))
     LEFT JOIN qv_apiserver.users modified_by_user ON ((users.modified_by_id = modified_by_user.id)));

CREATE TABLE qv_apiserver.users_roles (
    id text NOT NULL COLLATE pg_catalog."C",
    user_id text NOT NULL COLLATE pg_catalog."C",
    role_id text NOT NULL COLLATE pg_catalog."C",
    added_on timestamp with time zone NOT NULL,
    added_by_id text NOT NULL COLLATE pg_catalog."C",
    fixed boolean NOT NULL
);

CREATE VIEW qv_apiserver.users_roles__with_names WITH (security_invoker='true') AS
 SELECT users_roles.id,
    users_roles.user_id,
    COALESCE(users.name, (('['::text || users_roles.user_id) || ']'::text)) AS "user",
    users_roles.role_id,
    COALESCE(roles.name, (('['::text || users_roles.role_id) || ']'::text)) AS role,
    users_roles.added_on,
    users_roles.added_by_id,
    COALESCE(added_by_user.name, (('['::text || users_roles.added_by_id) || ']'::text)) AS added_by,
    users_roles.fixed
   FROM (((qv_apiserver.users_roles
     LEFT JOIN qv_apiserver.users ON ((users_roles.user_id = users.id)))
     LEFT JOIN qv_apiserver.roles ON ((users_roles.role_id = roles.id)))
     LEFT JOIN qv_apiserver.users added_by_user ON ((users_roles.added_by_id = added_by_user.id)));

CREATE TABLE qv_apiserver.workers (
    id bigint NOT NULL,
    project_id text DEFAULT NULLIF(current_setting('app.project_id'::text, true), ''::text) NOT NULL COLLATE pg_catalog."C",
    collection_id text NOT NULL COLLATE pg_catalog."C",
    execution_id bigint,
    transaction_id bigint,
    function_version_id bigint NOT NULL,
    physical_function_run_id bigint,
    started_on timestamp with time zone,
    ended_on timestamp with time zone,
    status text NOT NULL,
    worker_type text NOT NULL,
    worker_enabled boolean NOT NULL,
    worker_config text,
    failures integer DEFAULT 0 NOT NULL,
    retry_at timestamp with time zone,
    destination_write_on timestamp with time zone
);

ALTER TABLE ONLY qv_apiserver.workers FORCE ROW LEVEL SECURITY;

CREATE VIEW qv_apiserver.workers__with_names WITH (security_invoker='true') AS
 SELECT workers.id,
    workers.project_id,
    workers.collection_id,
    workers.execution_id,
    workers.transaction_id,
    workers.function_version_id,
    workers.physical_function_run_id,
    workers.started_on,
    workers.ended_on,
    workers.status,
    workers.worker_type,
    workers.worker_enabled,
    workers.worker_config,
    workers.failures,
    workers.retry_at,
    workers.destination_write_on,
    logical_function_runs.id AS logical_function_run_id,
    collections_resolved.name AS collection,
    collections_resolved.deleted AS collection_deleted,
    collections_resolved.connection_id,
    connections.kind AS connection,
    executions.name AS execution,
    functions.function_id,
    functions.name AS function,
    functions.enabled,
    projects_resolved.name AS project,
    physical_function_runs.function_version_patch_id
   FROM (((((((qv_apiserver.workers
     LEFT JOIN qv_apiserver.collections_resolved ON ((workers.collection_id = collections_resolved.id)))
     LEFT JOIN qv_apiserver.connections ON ((collections_resolved.connection_id = connections.id)))
     LEFT JOIN qv_apiserver.executions ON ((workers.execution_id = executions.id)))
     LEFT JOIN qv_apiserver.functions ON ((workers.function_version_id = functions.id)))
     LEFT JOIN qv_apiserver.logical_function_runs ON (((workers.execution_id = logical_function_runs.execution_id) AND (functions.function_id = logical_function_runs.function_id))))
     LEFT JOIN qv_apiserver.physical_function_runs ON ((workers.physical_function_run_id = physical_function_runs.id)))
     LEFT JOIN qv_apiserver.projects_resolved ON ((workers.project_id = projects_resolved.id)))
  WHERE (workers.worker_enabled = true);

ALTER TABLE ONLY qv_apiserver.bundles
    ADD CONSTRAINT bundles_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.collections
    ADD CONSTRAINT collections_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.connections
    ADD CONSTRAINT connections_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.dependencies
    ADD CONSTRAINT dependencies_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.executions
    ADD CONSTRAINT executions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.function_patches
    ADD CONSTRAINT function_patches_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.functions
    ADD CONSTRAINT functions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.groups
    ADD CONSTRAINT groups_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.logical_function_runs
    ADD CONSTRAINT logical_function_runs_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.permissions
    ADD CONSTRAINT permissions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.projects
    ADD CONSTRAINT projects_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.quorvale_system
    ADD CONSTRAINT quorvale_system_pkey PRIMARY KEY (name);

ALTER TABLE ONLY qv_apiserver.roles
    ADD CONSTRAINT roles_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.service_tokens
    ADD CONSTRAINT service_tokens_digest_key UNIQUE (digest);

ALTER TABLE ONLY qv_apiserver.service_tokens
    ADD CONSTRAINT service_tokens_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.sessions
    ADD CONSTRAINT sessions_pkey PRIMARY KEY (access_token_id);

ALTER TABLE ONLY qv_apiserver.sessions
    ADD CONSTRAINT sessions_refresh_token_id_key UNIQUE (refresh_token_id);

ALTER TABLE ONLY qv_apiserver.table_partitions
    ADD CONSTRAINT table_partitions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.tables
    ADD CONSTRAINT tables_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.transactions
    ADD CONSTRAINT transactions_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.triggers
    ADD CONSTRAINT triggers_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.users
    ADD CONSTRAINT users_email_key UNIQUE (email);

ALTER TABLE ONLY qv_apiserver.users
    ADD CONSTRAINT users_name_key UNIQUE (name);

ALTER TABLE ONLY qv_apiserver.users
    ADD CONSTRAINT users_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.users_roles
    ADD CONSTRAINT users_roles_pkey PRIMARY KEY (id);

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_pkey PRIMARY KEY (id);

CREATE INDEX collections___group_id__project_id___idx ON qv_apiserver.collections USING btree (group_id, project_id);

CREATE INDEX collections___project_id__id___idx ON qv_apiserver.collections USING btree (project_id, id);

CREATE UNIQUE INDEX collections___project_id__name___live_uidx ON qv_apiserver.collections USING btree (project_id, name) WHERE (name_when_deleted IS NULL);

CREATE INDEX collections___project_id__resolved_name___idx ON qv_apiserver.collections USING btree (project_id, COALESCE(name_when_deleted, name));

CREATE UNIQUE INDEX dependencies___dependency_id___current_uidx ON qv_apiserver.dependencies USING btree (dependency_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX dependencies___dependency_id__valid_from__id___idx ON qv_apiserver.dependencies USING btree (dependency_id, valid_from, id);

CREATE INDEX dependencies___function_id___current_idx ON qv_apiserver.dependencies USING btree (function_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX dependencies___function_id___idx ON qv_apiserver.dependencies USING btree (function_id);

CREATE INDEX dependencies___project_id___current_idx ON qv_apiserver.dependencies USING btree (project_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX dependencies___project_id__id___idx ON qv_apiserver.dependencies USING btree (project_id, id);

CREATE INDEX dependencies___table_id___current_idx ON qv_apiserver.dependencies USING btree (table_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX dependencies___table_id___idx ON qv_apiserver.dependencies USING btree (table_id);

CREATE INDEX executions___collection_id__triggered_on__id___idx ON qv_apiserver.executions USING btree (collection_id, triggered_on, id);

CREATE INDEX executions___function_id__external_uid___idx ON qv_apiserver.executions USING btree (function_id, external_uid);

CREATE INDEX executions___fv_id__trigger_type__triggered_on___idx ON qv_apiserver.executions USING btree (function_version_id, trigger_type, triggered_on);

CREATE INDEX executions___project_id__id___idx ON qv_apiserver.executions USING btree (project_id, id);

CREATE INDEX executions___project_id__status__triggered_on__id___idx ON qv_apiserver.executions USING btree (project_id, status, triggered_on, id);

CREATE INDEX executions___project_id__triggered_on__id___idx ON qv_apiserver.executions USING btree (project_id, triggered_on, id);

CREATE INDEX executions___triggered_on__id___idx ON qv_apiserver.executions USING btree (triggered_on, id);

CREATE INDEX function_patches___function_id__valid_from___idx ON qv_apiserver.function_patches USING btree (function_id, valid_from);

CREATE UNIQUE INDEX function_patches___parent_function_version_id___current_uidx ON qv_apiserver.function_patches USING btree (parent_function_version_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX function_patches___parent_fv_id__valid_from__id___idx ON qv_apiserver.function_patches USING btree (parent_function_version_id, valid_from, id);

CREATE UNIQUE INDEX functions___collection_id__name___current_uidx ON qv_apiserver.functions USING btree (collection_id, name) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX functions___collection_id__name___idx ON qv_apiserver.functions USING btree (collection_id, name);

CREATE UNIQUE INDEX functions___function_id___current_uidx ON qv_apiserver.functions USING btree (function_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX functions___function_id__valid_from__id___idx ON qv_apiserver.functions USING btree (function_id, valid_from, id);

CREATE INDEX functions___parent_function_id___current_idx ON qv_apiserver.functions USING btree (parent_function_id) WHERE ((valid_to = 'infinity'::timestamp with time zone) AND (parent_function_id IS NOT NULL));

CREATE INDEX functions___project_id__id___idx ON qv_apiserver.functions USING btree (project_id, id);

CREATE INDEX functions___project_id__status___current_idx ON qv_apiserver.functions USING btree (project_id, status) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX groups___name___idx ON qv_apiserver.groups USING btree (name);

CREATE UNIQUE INDEX groups___project_id__name___uidx ON qv_apiserver.groups USING btree (project_id, name) WHERE (name IS NOT NULL);

CREATE INDEX lfri___requirement_logical_table_data_version_id___idx ON qv_apiserver.logical_function_run_inputs USING btree (requirement_logical_table_data_version_id);

CREATE INDEX logical_function_run_inputs___execution_id___idx ON qv_apiserver.logical_function_run_inputs USING btree (execution_id);

CREATE INDEX logical_function_run_inputs___logical_function_run_id___idx ON qv_apiserver.logical_function_run_inputs USING btree (logical_function_run_id);

CREATE INDEX logical_function_runs___collection_id__triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (collection_id, triggered_on, id);

CREATE UNIQUE INDEX logical_function_runs___execution_id__function_id___idx ON qv_apiserver.logical_function_runs USING btree (execution_id, function_id);

CREATE INDEX logical_function_runs___execution_id__status___idx ON qv_apiserver.logical_function_runs USING btree (execution_id, status);

CREATE INDEX logical_function_runs___execution_id__triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (execution_id, triggered_on, id);

CREATE INDEX logical_function_runs___function_id__triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (function_id, triggered_on, id);

CREATE INDEX logical_function_runs___function_version_id___idx ON qv_apiserver.logical_function_runs USING btree (function_version_id);

CREATE INDEX logical_function_runs___group_id__project_id___idx ON qv_apiserver.logical_function_runs USING btree (group_id, project_id);

CREATE INDEX logical_function_runs___project_id__id___idx ON qv_apiserver.logical_function_runs USING btree (project_id, id);

CREATE INDEX logical_function_runs___project_id__triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (project_id, triggered_on, id);

CREATE INDEX logical_function_runs___status__project_id__triggered_on___idx ON qv_apiserver.logical_function_runs USING btree (status, project_id, triggered_on);

CREATE INDEX logical_function_runs___transaction_id__status___idx ON qv_apiserver.logical_function_runs USING btree (transaction_id, status);

CREATE INDEX logical_function_runs___transaction_id__triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (transaction_id, triggered_on, id);

CREATE INDEX logical_function_runs___triggered_on__id___idx ON qv_apiserver.logical_function_runs USING btree (triggered_on, id);

CREATE INDEX logical_table_data_versions___execution_id__table_id___idx ON qv_apiserver.logical_table_data_versions USING btree (execution_id, table_id);

CREATE INDEX logical_table_data_versions___group_id__project_id___idx ON qv_apiserver.logical_table_data_versions USING btree (group_id, project_id);

CREATE INDEX logical_table_data_versions___project_id__id___idx ON qv_apiserver.logical_table_data_versions USING btree (project_id, id);

CREATE INDEX logical_table_data_versions___table_id__triggered_on__id___idx ON qv_apiserver.logical_table_data_versions USING btree (table_id, triggered_on, id);

CREATE INDEX ltdv___collection_id__triggered_on__id___idx ON qv_apiserver.logical_table_data_versions USING btree (collection_id, triggered_on, id);

CREATE INDEX ltdv___execution_id__triggered_on__id___idx ON qv_apiserver.logical_table_data_versions USING btree (execution_id, triggered_on, id);

CREATE INDEX ltdv___producer_logical_function_run_id___idx ON qv_apiserver.logical_table_data_versions USING btree (producer_logical_function_run_id);

CREATE INDEX metrics_facts___attempt_id___idx ON qv_apiserver.metrics_facts USING btree (attempt_id);

CREATE INDEX metrics_facts___function_run_id___idx ON qv_apiserver.metrics_facts USING btree (function_run_id);

CREATE INDEX metrics_facts___project_id__ts___idx ON qv_apiserver.metrics_facts USING btree (project_id, ts);

CREATE INDEX metrics_facts___table_version_id__side___idx ON qv_apiserver.metrics_facts USING btree (table_version_id, side);

CREATE INDEX metrics_facts___ts___idx ON qv_apiserver.metrics_facts USING btree (ts);

CREATE UNIQUE INDEX permissions___role_id__permission_type__entity___idx ON qv_apiserver.permissions USING btree (role_id, permission_type, entity_type, entity_id);

CREATE INDEX pfr___function_version_id___idx ON qv_apiserver.physical_function_runs USING btree (function_version_id);

CREATE INDEX pfr___function_version_patch_id___idx ON qv_apiserver.physical_function_runs USING btree (function_version_patch_id);

CREATE UNIQUE INDEX pfr___logical_function_run_id___current_uidx ON qv_apiserver.physical_function_runs USING btree (logical_function_run_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX pfr___logical_function_run_id__valid_from__id___idx ON qv_apiserver.physical_function_runs USING btree (logical_function_run_id, valid_from, id);

CREATE INDEX pfr___project_id__execution_id__started_on__ended_on___idx ON qv_apiserver.physical_function_runs USING btree (project_id, execution_id, started_on, ended_on);

CREATE INDEX pfr___project_id__id___idx ON qv_apiserver.physical_function_runs USING btree (project_id, id);

CREATE INDEX pfr___project_id__transaction_id__started_on__ended_on___idx ON qv_apiserver.physical_function_runs USING btree (project_id, transaction_id, started_on, ended_on);

CREATE INDEX pfr___status__project_id__dispatched_on___idx ON qv_apiserver.physical_function_runs USING btree (status, project_id, dispatched_on);

CREATE INDEX pfr___status__project_id__valid_from___idx ON qv_apiserver.physical_function_runs USING btree (status, project_id, valid_from);

CREATE UNIQUE INDEX projects___name___live_uidx ON qv_apiserver.projects USING btree (name) WHERE (name_when_deleted IS NULL);

CREATE INDEX projects___resolved_name___idx ON qv_apiserver.projects USING btree (COALESCE(name_when_deleted, name));

CREATE UNIQUE INDEX ptdv___logical_table_data_version_id___current_uidx ON qv_apiserver.physical_table_data_versions USING btree (logical_table_data_version_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX ptdv___logical_table_data_version_id__valid_from__id___idx ON qv_apiserver.physical_table_data_versions USING btree (logical_table_data_version_id, valid_from, id);

CREATE UNIQUE INDEX ptdv___physical_function_run_id__table_id___uidx ON qv_apiserver.physical_table_data_versions USING btree (physical_function_run_id, table_id);

CREATE INDEX ptdv___project_id__id___idx ON qv_apiserver.physical_table_data_versions USING btree (project_id, id);

CREATE UNIQUE INDEX roles___name___uidx ON qv_apiserver.roles USING btree (name) WHERE (name IS NOT NULL);

CREATE INDEX roles___project_id___idx ON qv_apiserver.roles USING btree (project_id);

CREATE UNIQUE INDEX roles___user_id__role_id___idx ON qv_apiserver.users_roles USING btree (user_id, role_id);

CREATE UNIQUE INDEX service_tokens___user_id__slot___idx ON qv_apiserver.service_tokens USING btree (user_id, slot);

CREATE INDEX sessions___expires_on___idx ON qv_apiserver.sessions USING btree (expires_on);

CREATE INDEX sessions___user_id___idx ON qv_apiserver.sessions USING btree (user_id);

CREATE UNIQUE INDEX tables___collection_id__name___current_uidx ON qv_apiserver.tables USING btree (collection_id, name) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX tables___collection_id__name___idx ON qv_apiserver.tables USING btree (collection_id, name);

CREATE INDEX tables___function_id___current_idx ON qv_apiserver.tables USING btree (function_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX tables___function_id__status___idx ON qv_apiserver.tables USING btree (function_id, status);

CREATE INDEX tables___function_version_id___idx ON qv_apiserver.tables USING btree (function_version_id);

CREATE INDEX tables___project_id__id___idx ON qv_apiserver.tables USING btree (project_id, id);

CREATE INDEX tables___project_id__status___current_idx ON qv_apiserver.tables USING btree (project_id, status) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE UNIQUE INDEX tables___table_id___current_uidx ON qv_apiserver.tables USING btree (table_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX tables___table_id__valid_from__id___idx ON qv_apiserver.tables USING btree (table_id, valid_from, id);

CREATE INDEX transactions___execution_id__triggered_on__id___idx ON qv_apiserver.transactions USING btree (execution_id, triggered_on, id);

CREATE INDEX transactions___group_id__project_id___idx ON qv_apiserver.transactions USING btree (group_id, project_id);

CREATE INDEX transactions___project_id__id___idx ON qv_apiserver.transactions USING btree (project_id, id);

CREATE INDEX transactions___project_id__started_on__id___idx ON qv_apiserver.transactions USING btree (project_id, started_on, id);

CREATE INDEX transactions___project_id__status__triggered_on__id___idx ON qv_apiserver.transactions USING btree (project_id, status, triggered_on, id);

CREATE INDEX transactions___project_id__triggered_on__id___idx ON qv_apiserver.transactions USING btree (project_id, triggered_on, id);

CREATE INDEX transactions___triggered_on__id___idx ON qv_apiserver.transactions USING btree (triggered_on, id);

CREATE INDEX triggers___function_id___current_idx ON qv_apiserver.triggers USING btree (function_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX triggers___function_id___idx ON qv_apiserver.triggers USING btree (function_id);

CREATE INDEX triggers___project_id__id___idx ON qv_apiserver.triggers USING btree (project_id, id);

CREATE INDEX triggers___project_id__status___current_idx ON qv_apiserver.triggers USING btree (project_id, status) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX triggers___trigger_by_table_id___current_idx ON qv_apiserver.triggers USING btree (trigger_by_table_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX triggers___trigger_by_table_id___idx ON qv_apiserver.triggers USING btree (trigger_by_table_id);

CREATE UNIQUE INDEX triggers___trigger_id___current_uidx ON qv_apiserver.triggers USING btree (trigger_id) WHERE (valid_to = 'infinity'::timestamp with time zone);

CREATE INDEX triggers___trigger_id__valid_from__id___idx ON qv_apiserver.triggers USING btree (trigger_id, valid_from, id);

CREATE INDEX users_roles___role_id__id___idx ON qv_apiserver.users_roles USING btree (role_id, id);

CREATE INDEX workers___collection_id___idx ON qv_apiserver.workers USING btree (collection_id);

CREATE INDEX workers___enabled__worker_type__status__project_id__id___idx ON qv_apiserver.workers USING btree (worker_enabled, worker_type, status, project_id, id);

CREATE INDEX workers___function_version_id__worker_type___idx ON qv_apiserver.workers USING btree (function_version_id, worker_type);

CREATE INDEX workers___physical_function_run_id___idx ON qv_apiserver.workers USING btree (physical_function_run_id);

CREATE INDEX workers___project_id__id___idx ON qv_apiserver.workers USING btree (project_id, id);

CREATE INDEX workers___project_id__started_on__id___idx ON qv_apiserver.workers USING btree (project_id, started_on, id);

CREATE INDEX workers___project_id__status__started_on__id___idx ON qv_apiserver.workers USING btree (project_id, status, started_on, id);

CREATE INDEX workers___started_on__id___idx ON qv_apiserver.workers USING btree (started_on, id);

CREATE STATISTICS qv_apiserver.metrics_facts___grouping___stx (ndistinct) ON from_group_id, from_collection_id, group_id, collection_id, run_status, side, table_id, edge_kind FROM qv_apiserver.metrics_facts;

CREATE TRIGGER dependencies__scd2_close BEFORE INSERT ON qv_apiserver.dependencies FOR EACH ROW EXECUTE FUNCTION qv_apiserver.dependencies__scd2_close_fn();

CREATE TRIGGER function_patches__immutable_no_delete BEFORE DELETE ON qv_apiserver.function_patches FOR EACH ROW EXECUTE FUNCTION qv_apiserver.function_patches__immutable_fn();

CREATE TRIGGER function_patches__immutable_no_update BEFORE UPDATE OF id, project_id, parent_function_version_id, function_id, collection_id, snippet, bundle_id, runtime_values, description, valid_from, defined_by_id, status ON qv_apiserver.function_patches FOR EACH ROW EXECUTE FUNCTION qv_apiserver.function_patches__immutable_fn();

CREATE TRIGGER function_patches__scd2_close BEFORE INSERT ON qv_apiserver.function_patches FOR EACH ROW EXECUTE FUNCTION qv_apiserver.function_patches__scd2_close_fn();

CREATE TRIGGER functions__scd2_close BEFORE INSERT ON qv_apiserver.functions FOR EACH ROW EXECUTE FUNCTION qv_apiserver.functions__scd2_close_fn();

CREATE TRIGGER logical_function_runs__transitions BEFORE UPDATE OF status ON qv_apiserver.logical_function_runs FOR EACH ROW EXECUTE FUNCTION qv_apiserver.logical_function_runs__transitions_fn();

CREATE TRIGGER physical_function_runs__open_after_end BEFORE INSERT ON qv_apiserver.physical_function_runs FOR EACH ROW EXECUTE FUNCTION qv_apiserver.physical_function_runs__open_after_end_fn();

CREATE TRIGGER physical_function_runs__scd2_close BEFORE INSERT ON qv_apiserver.physical_function_runs FOR EACH ROW EXECUTE FUNCTION qv_apiserver.physical_function_runs__scd2_close_fn();

CREATE TRIGGER physical_function_runs__transitions BEFORE UPDATE OF status ON qv_apiserver.physical_function_runs FOR EACH ROW EXECUTE FUNCTION qv_apiserver.physical_function_runs__transitions_fn();

CREATE TRIGGER physical_table_data_versions__scd2_close BEFORE INSERT ON qv_apiserver.physical_table_data_versions FOR EACH ROW WHEN ((new.valid_to IS DISTINCT FROM new.valid_from)) EXECUTE FUNCTION qv_apiserver.physical_table_data_versions__scd2_close_fn();

CREATE TRIGGER physical_table_data_versions__scd2_settle BEFORE UPDATE OF valid_from ON qv_apiserver.physical_table_data_versions FOR EACH ROW WHEN (((old.valid_to = old.valid_from) AND (new.valid_from > old.valid_from))) EXECUTE FUNCTION qv_apiserver.physical_table_data_versions__scd2_close_fn();

CREATE TRIGGER tables__scd2_close BEFORE INSERT ON qv_apiserver.tables FOR EACH ROW EXECUTE FUNCTION qv_apiserver.tables__scd2_close_fn();

CREATE TRIGGER triggers__scd2_close BEFORE INSERT ON qv_apiserver.triggers FOR EACH ROW EXECUTE FUNCTION qv_apiserver.triggers__scd2_close_fn();

CREATE TRIGGER workers__transitions BEFORE UPDATE OF status ON qv_apiserver.workers FOR EACH ROW EXECUTE FUNCTION qv_apiserver.workers__transitions_fn();

ALTER TABLE ONLY qv_apiserver.bundles
    ADD CONSTRAINT bundles_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.collections
    ADD CONSTRAINT collections_connection_id_fkey FOREIGN KEY (connection_id) REFERENCES qv_apiserver.connections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.collections
    ADD CONSTRAINT collections_group_id_fkey FOREIGN KEY (group_id) REFERENCES qv_apiserver.groups(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.dependencies
    ADD CONSTRAINT dependencies_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.executions
    ADD CONSTRAINT executions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.executions
    ADD CONSTRAINT executions_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.function_patches
    ADD CONSTRAINT function_patches_parent_function_version_id_fkey FOREIGN KEY (parent_function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.functions
    ADD CONSTRAINT functions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_logical_function_run_id_fkey FOREIGN KEY (logical_function_run_id) REFERENCES qv_apiserver.logical_function_runs(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_requirement_logical_table_data_fkey FOREIGN KEY (requirement_logical_table_data_version_id) REFERENCES qv_apiserver.logical_table_data_versions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_run_inputs
    ADD CONSTRAINT logical_function_run_inputs_transaction_id_fkey FOREIGN KEY (transaction_id) REFERENCES qv_apiserver.transactions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_runs
    ADD CONSTRAINT logical_function_runs_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_runs
    ADD CONSTRAINT logical_function_runs_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_runs
    ADD CONSTRAINT logical_function_runs_group_id_fkey FOREIGN KEY (group_id) REFERENCES qv_apiserver.groups(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_function_runs
    ADD CONSTRAINT logical_function_runs_transaction_id_fkey FOREIGN KEY (transaction_id) REFERENCES qv_apiserver.transactions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_group_id_fkey FOREIGN KEY (group_id) REFERENCES qv_apiserver.groups(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_producer_logical_function_run__fkey FOREIGN KEY (producer_logical_function_run_id) REFERENCES qv_apiserver.logical_function_runs(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.logical_table_data_versions
    ADD CONSTRAINT logical_table_data_versions_transaction_id_fkey FOREIGN KEY (transaction_id) REFERENCES qv_apiserver.transactions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.permissions
    ADD CONSTRAINT permissions_role_id_fkey FOREIGN KEY (role_id) REFERENCES qv_apiserver.roles(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_function_version_patch_id_fkey FOREIGN KEY (function_version_patch_id) REFERENCES qv_apiserver.function_patches(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_function_runs
    ADD CONSTRAINT physical_function_runs_logical_function_run_id_fkey FOREIGN KEY (logical_function_run_id) REFERENCES qv_apiserver.logical_function_runs(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_function_version_patch_id_fkey FOREIGN KEY (function_version_patch_id) REFERENCES qv_apiserver.function_patches(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_logical_table_data_version_id_fkey FOREIGN KEY (logical_table_data_version_id) REFERENCES qv_apiserver.logical_table_data_versions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.physical_table_data_versions
    ADD CONSTRAINT physical_table_data_versions_physical_function_run_id_fkey FOREIGN KEY (physical_function_run_id) REFERENCES qv_apiserver.physical_function_runs(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.roles
    ADD CONSTRAINT roles_project_id_fkey FOREIGN KEY (project_id) REFERENCES qv_apiserver.projects(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.service_tokens
    ADD CONSTRAINT service_tokens_user_id_fkey FOREIGN KEY (user_id) REFERENCES qv_apiserver.users(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.table_partitions
    ADD CONSTRAINT table_partitions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.table_partitions
    ADD CONSTRAINT table_partitions_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.table_partitions
    ADD CONSTRAINT table_partitions_table_data_version_id_fkey FOREIGN KEY (table_data_version_id) REFERENCES qv_apiserver.physical_table_data_versions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.tables
    ADD CONSTRAINT tables_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.tables
    ADD CONSTRAINT tables_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.transactions
    ADD CONSTRAINT transactions_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.transactions
    ADD CONSTRAINT transactions_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.transactions
    ADD CONSTRAINT transactions_group_id_fkey FOREIGN KEY (group_id) REFERENCES qv_apiserver.groups(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.triggers
    ADD CONSTRAINT triggers_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.users_roles
    ADD CONSTRAINT users_roles_role_id_fkey FOREIGN KEY (role_id) REFERENCES qv_apiserver.roles(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.users_roles
    ADD CONSTRAINT users_roles_user_id_fkey FOREIGN KEY (user_id) REFERENCES qv_apiserver.users(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_collection_id_fkey FOREIGN KEY (collection_id) REFERENCES qv_apiserver.collections(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_execution_id_fkey FOREIGN KEY (execution_id) REFERENCES qv_apiserver.executions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_function_version_id_fkey FOREIGN KEY (function_version_id) REFERENCES qv_apiserver.functions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_physical_function_run_id_fkey FOREIGN KEY (physical_function_run_id) REFERENCES qv_apiserver.physical_function_runs(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

ALTER TABLE ONLY qv_apiserver.workers
    ADD CONSTRAINT workers_transaction_id_fkey FOREIGN KEY (transaction_id) REFERENCES qv_apiserver.transactions(id) ON UPDATE RESTRICT ON DELETE RESTRICT;

CREATE POLICY across_projects ON qv_apiserver.bundles TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.collections TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.connections TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.dependencies TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.executions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.function_patches TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.functions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.groups TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.logical_function_run_inputs TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.logical_function_runs TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.logical_table_data_versions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.metrics_facts TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.physical_function_runs TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.physical_table_data_versions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.table_partitions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.tables TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.transactions TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.triggers TO qv_across_projects USING (true) WITH CHECK (true);

CREATE POLICY across_projects ON qv_apiserver.workers TO qv_across_projects USING (true) WITH CHECK (true);

ALTER TABLE qv_apiserver.bundles ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.collections ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.connections ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.dependencies ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.executions ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.function_patches ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.functions ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.groups ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.logical_function_run_inputs ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.logical_function_runs ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.logical_table_data_versions ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.metrics_facts ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.physical_function_runs ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.physical_table_data_versions ENABLE ROW LEVEL SECURITY;

CREATE POLICY project_isolation ON qv_apiserver.bundles USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.collections USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.connections USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.dependencies USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.executions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.function_patches USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.functions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.groups USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.logical_function_run_inputs USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.logical_function_runs USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.logical_table_data_versions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.metrics_facts USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.physical_function_runs USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.physical_table_data_versions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.table_partitions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.tables USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.transactions USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.triggers USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

CREATE POLICY project_isolation ON qv_apiserver.workers USING ((project_id = current_setting('app.project_id'::text, true))) WITH CHECK ((project_id = current_setting('app.project_id'::text, true)));

ALTER TABLE qv_apiserver.table_partitions ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.tables ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.transactions ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.triggers ENABLE ROW LEVEL SECURITY;

ALTER TABLE qv_apiserver.workers ENABLE ROW LEVEL SECURITY;
